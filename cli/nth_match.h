#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "workflow/search_loop.h"

namespace tavlo::cli {

// Runs the search command over a loaded image, passing over every match before the n-th
// (1-based) as the desktop program's Find Next would; at the n-th, `atMatch` answers.
// `matchesSeen` (if given) counts the matches met: without a match reached, all there are.
inline SearchOutcome SearchToMatch(FirmwareImage& image, std::string_view searchText,
                                   const Settings& settings, int n,
                                   const std::function<Answer(PatchRequest&)>& atMatch,
                                   int* matchesSeen = nullptr) {
    class NthMatch : public PatchConfirmer {
    public:
        NthMatch(int n, const std::function<Answer(PatchRequest&)>& atMatch)
            : n_(n), atMatch_(atMatch) {}
        bool WantsMatch(std::int64_t) override { return ++seen_ >= n_; }
        Answer Confirm(PatchRequest& request) override { return atMatch_(request); }
        int Seen() const { return seen_; }

    private:
        int n_;
        int seen_ = 0;
        const std::function<Answer(PatchRequest&)>& atMatch_;
    } confirmer(n, atMatch);
    const SearchOutcome outcome = RunSearch(image, searchText, settings, confirmer);
    if (matchesSeen != nullptr) {
        *matchesSeen = confirmer.Seen();
    }
    return outcome;
}

}  // namespace tavlo::cli
