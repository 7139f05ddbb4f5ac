#include "core/patch_step.h"

#include <cstdio>

#include "core/firmware_image.h"
#include "preview/device_font.h"
#include "settings/startup_values.h"

namespace tavlo {

std::string ProposedOwnerText(std::string_view section) {
    std::string text;
    for (const std::string& line : OwnerLines(section)) {
        text += line;
        text += '\n';
    }
    return text;
}

int FirmwareImage::PatchMessage(std::string_view section, PatchConfirmer& confirmer) {
    // Offset 0 is a match like any other; only the absence of a match (-1) leaves nothing to
    // patch. The bytes of an embedded resource are never patched.
    if (data_ == nullptr || length_ == 0 || matchOffset_ < 0 || resourceBacked_) {
        return PatchCancelled;
    }
    const std::uint32_t messageLength = MessageLength();

    PatchRequest request;
    request.newText = FitToLength(ProposedOwnerText(section), messageLength);
    // The font points into this image's bytes and lives only while the user is asked.
    DeviceFont font;
    if (font.Locate(*this)) {
        request.font = &font;
    }
    request.currentText.assign(reinterpret_cast<const char*>(data_ + matchOffset_), messageLength);
    char info[64];
    std::snprintf(info, sizeof info, "String to be replaced is %u bytes long:\n",
                  static_cast<unsigned>(messageLength));
    request.infoText = info;

    switch (confirmer.Confirm(request)) {
        case ConfirmOk:
            ReplaceMessage(request.newText);
            return PatchApplied;
        case ConfirmCancel:
            return PatchCancelled;
        default:  // Find Next, or the user could not be asked at all
            return PatchFindNext;
    }
}

}  // namespace tavlo
