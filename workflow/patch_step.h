#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavlo {

class DeviceFont;
class FirmwareImage;

// What the user answers at a match, and so what the patch step did there: Ok, the edited text
// was written over the message; Cancel, nothing was written and the search ends; FindNext,
// nothing was written and the search goes on to the next match.
enum class Answer { Ok, Cancel, FindNext };

// What the user is asked to confirm at one match. Line breaks are single "\n" bytes.
struct PatchRequest {
    std::string currentText;           // the message found (its L bytes)
    std::string infoText;              // "String to be replaced is L bytes long:\n"
    std::string newText;               // the proposed text; after Ok the edited text
    const DeviceFont* font = nullptr;  // the receiver's font, when found in the image
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

// The owner text that the patch step proposes: the values of "L1", "L2", ... of `section`, each
// followed by "\n"; L1 to L7 fall back to their built-in defaults, the first missing key from L8
// on ends the list.
std::string ProposedOwnerText(std::string_view section);

// The request for the current match of `image`: the message, the owner lines of `section`
// fitted to its length, the info line and `font` (located in this image, or none).
PatchRequest BuildPatchRequest(const FirmwareImage& image, std::string_view section,
                               const DeviceFont* font);

// The patch step at the current match: proposes the owner lines of `section`, lets the
// confirmer decide, and writes the accepted text. Without a match, or on an image of an embedded
// resource, nothing is asked and the answer is Cancel.
Answer PatchMessage(FirmwareImage& image, std::string_view section, PatchConfirmer& confirmer,
                    const DeviceFont* font);

}  // namespace tavlo
