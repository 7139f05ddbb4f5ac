#pragma once

#include <cstdint>
#include <string_view>

#include "workflow/patch_step.h"

namespace tavlo {

class FirmwareImage;
class Settings;

struct SearchOutcome {
    bool reached = false;              // a match was answered Ok or Cancel
    Answer answer = Answer::FindNext;  // what was answered there
    std::int64_t offset = -1;          // where that match lies
};

// The search command over a loaded image: from the image's first byte, every match of
// `searchText` in turn goes to the patch step with the owner lines of the settings section
// "Patch" and the preview's magnification of `settings`, until one is answered Ok or Cancel. The
// receiver's font is located once for the whole search; a match the confirmer does not want is
// passed over without building anything. Without a match answered, `reached` is false: the text was
// not found (any more).
SearchOutcome RunSearch(FirmwareImage& image, std::string_view searchText, const Settings& settings,
                        PatchConfirmer& confirmer);

}  // namespace tavlo
