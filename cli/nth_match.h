#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "core/patch_step.h"

namespace tavlo {
class FirmwareImage;
}

namespace tavlo::cli {

struct NthMatchOutcome {
    bool reached = false;      // the N-th match exists
    int patchResult = 0;       // what the patch step returned there
    std::int32_t offset = -1;  // where it lies
};

// Runs the search and the patch step as the desktop program's Search does, answering Find Next
// at every match before the n-th (1-based); at the n-th, `atMatch` answers the patch step.
NthMatchOutcome PatchAtMatch(FirmwareImage& image, std::string_view searchText, int n,
                             const std::function<int(PatchRequest&)>& atMatch);

}  // namespace tavlo::cli
