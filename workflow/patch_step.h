#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/startup_values.h"

namespace tavlo {

class DeviceFont;
class FirmwareImage;
class Settings;

// What the user answers at a match, and so what the patch step did there: Ok, the edited text
// was written over the message; Cancel, nothing was written and the search ends; FindNext,
// nothing was written and the search goes on to the next match.
enum class Answer { Ok, Cancel, FindNext };

// A message longer than this is shown and proposed in part only: the dialog shows its first
// bytes and "...", and the proposal is not padded beyond the owner text (a box of megabytes
// would freeze the dialog). Whatever is written is fitted to the whole message all the same.
inline constexpr std::size_t kShownMessageBytes = 1024;

// What the user is asked to confirm at one match. Line breaks are single "\n" bytes.
struct PatchRequest {
    std::string currentText;  // the message found (its L bytes)
    std::string infoText;     // "String to be replaced is L bytes long:\n"
    // The proposed text: the owner text fitted to L bytes (for a message longer than
    // kShownMessageBytes, not padded). After Ok, the edited text; it is written fitted to L.
    std::string newText;
    const DeviceFont* font = nullptr;  // the receiver's font, when found in the image
    // The preview's magnification, from the settings.
    int magX = kDefaultMagnification;
    int magY = kDefaultMagnification;
};

// Asks the user about one match: the patch confirmation dialog in the desktop programs, a
// scripted answer in tavlo-cli and the tests.
class PatchConfirmer {
public:
    // Whether to see the match at `offset` at all; a match passed over is Find Next without
    // anything being built or shown, so passing over many matches costs only the search.
    virtual bool WantsMatch(std::int64_t offset) {
        (void)offset;
        return true;
    }
    // On Ok, request.newText holds the text to write. A confirmer that could not ask the user
    // at all answers FindNext, so the search goes on.
    virtual Answer Confirm(PatchRequest& request) = 0;

    virtual ~PatchConfirmer() = default;
};

// The owner text that the patch step proposes: the owner lines of `section` (Settings::OwnerLines),
// each followed by "\n".
std::string ProposedOwnerText(const Settings& settings, std::string_view section);

// The request for the current match of `image`: the message, the owner lines of `section`
// fitted to its length, the info line, `font` (located in this image, or none) and the
// preview's magnification.
PatchRequest BuildPatchRequest(const FirmwareImage& image, const Settings& settings,
                               std::string_view section, const DeviceFont* font);

// The patch step at the current match: proposes the owner lines of `section`, lets the
// confirmer decide, and writes the accepted text. Without a match, or on an image of an embedded
// resource, nothing is asked and the answer is Cancel.
Answer PatchMessage(FirmwareImage& image, const Settings& settings, std::string_view section,
                    PatchConfirmer& confirmer, const DeviceFont* font);

}  // namespace tavlo
