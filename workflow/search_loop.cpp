#include "workflow/search_loop.h"

#include <optional>

#include "core/firmware_image.h"
#include "screen/device_font.h"
#include "settings/settings_keys.h"

namespace tavlo {

SearchOutcome RunSearch(FirmwareImage& image, std::string_view searchText, const Settings& settings,
                        PatchConfirmer& confirmer) {
    // The font points into the image's bytes, which stay as they are while the search runs
    // (a patch only rewrites a message). It is looked for at the first match shown.
    std::optional<DeviceFont> font;
    image.ResetSearch();
    while (image.LocateMessage(searchText)) {
        if (!confirmer.WantsMatch(image.MatchOffset())) {
            continue;
        }
        if (!font) {
            font.emplace();
            font->Locate(image);
        }
        const Answer answer = PatchMessage(image, settings, kPatchSection, confirmer,
                                           font->IsLocated() ? &*font : nullptr);
        if (answer != Answer::FindNext) {
            return {true, answer, image.MatchOffset()};
        }
    }
    return {};
}

}  // namespace tavlo
