#include "workflow/patch_step.h"

#include <cstdio>

#include "core/firmware_image.h"
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

PatchRequest BuildPatchRequest(const FirmwareImage& image, std::string_view section,
                               const DeviceFont* font) {
    const std::uint32_t messageLength = image.MessageLength();
    PatchRequest request;
    request.newText = FitToLength(ProposedOwnerText(section), messageLength);
    request.font = font;
    request.currentText.assign(reinterpret_cast<const char*>(image.Data() + image.MatchOffset()),
                               messageLength);
    char info[64];
    std::snprintf(info, sizeof info, "String to be replaced is %u bytes long:\n",
                  static_cast<unsigned>(messageLength));
    request.infoText = info;
    return request;
}

Answer PatchMessage(FirmwareImage& image, std::string_view section, PatchConfirmer& confirmer,
                    const DeviceFont* font) {
    // Offset 0 is a match like any other; only the absence of a match (-1) leaves nothing to
    // patch. The bytes of an embedded resource are never patched.
    if (image.Data() == nullptr || image.Length() == 0 || image.MatchOffset() < 0 ||
        image.IsResourceBacked()) {
        return Answer::Cancel;
    }
    PatchRequest request = BuildPatchRequest(image, section, font);
    const Answer answer = confirmer.Confirm(request);
    if (answer == Answer::Ok) {
        image.ReplaceMessage(request.newText);
    }
    return answer;
}

}  // namespace tavlo
