#include "cli/nth_match.h"

#include "core/firmware_image.h"
#include "settings/settings_keys.h"

namespace tavlo::cli {

namespace {

class NthMatchConfirmer : public PatchConfirmer {
public:
    NthMatchConfirmer(int n, const std::function<int(PatchRequest&)>& atMatch)
        : n_(n), atMatch_(atMatch) {}

    int Confirm(PatchRequest& request) override {
        if (++seen_ < n_) {
            return ConfirmFindNext;
        }
        reached = true;
        return atMatch_(request);
    }

    bool reached = false;

private:
    int n_;
    int seen_ = 0;
    const std::function<int(PatchRequest&)>& atMatch_;
};

}  // namespace

NthMatchOutcome PatchAtMatch(FirmwareImage& image, std::string_view searchText, int n,
                             const std::function<int(PatchRequest&)>& atMatch) {
    NthMatchConfirmer confirmer(n, atMatch);
    image.ResetSearch();
    while (image.LocateMessage(searchText)) {
        const int result = image.PatchMessage(kPatchSection, confirmer);
        if (confirmer.reached || result != PatchFindNext) {
            return {confirmer.reached, result, image.MatchOffset()};
        }
    }
    return {};
}

}  // namespace tavlo::cli
