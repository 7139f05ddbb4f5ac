#include "workflow/patch_step.h"

#include <algorithm>

#include "core/firmware_image.h"
#include "core/message_format.h"
#include "settings/settings_file.h"

namespace tavlo {

std::string ProposedOwnerText(const Settings& settings, std::string_view section) {
    std::string text;
    for (const std::string& line : settings.OwnerLines(section)) {
        text += line;
        text += '\n';
    }
    return text;
}

PatchRequest BuildPatchRequest(const FirmwareImage& image, const Settings& settings,
                               std::string_view section, const DeviceFont* font) {
    const std::uint32_t messageLength = image.MessageLength();
    const std::string owner = ProposedOwnerText(settings, section);
    PatchRequest request;
    request.newText = FitToLength(owner, messageLength <= kShownMessageBytes
                                             ? messageLength
                                             : std::min<std::size_t>(owner.size(), messageLength));
    request.font = font;
    request.currentText.assign(reinterpret_cast<const char*>(image.Data() + image.MatchOffset()),
                               messageLength);
    request.infoText =
        FormatMessage("String to be replaced is %1 bytes long:\n", {std::to_string(messageLength)});
    request.magX = settings.Magnification("MagX");
    request.magY = settings.Magnification("MagY");
    return request;
}

Answer PatchMessage(FirmwareImage& image, const Settings& settings, std::string_view section,
                    PatchConfirmer& confirmer, const DeviceFont* font) {
    // Offset 0 is a match like any other; only the absence of a match (-1) leaves nothing to
    // patch. The bytes of an embedded resource are never patched.
    if (image.Data() == nullptr || image.Length() == 0 || image.MatchOffset() < 0 ||
        image.IsResourceBacked()) {
        return Answer::Cancel;
    }
    PatchRequest request = BuildPatchRequest(image, settings, section, font);
    const Answer answer = confirmer.Confirm(request);
    if (answer == Answer::Ok) {
        image.ReplaceMessage(request.newText);
    }
    return answer;
}

}  // namespace tavlo
