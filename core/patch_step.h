#pragma once

#include <string>
#include <string_view>

namespace tavlo {

class DeviceFont;

// What the user is asked to confirm at one match. Line breaks are single "\n" bytes.
struct PatchRequest {
    std::string currentText;           // the message found (its L bytes)
    std::string infoText;              // "String to be replaced is L bytes long:\n"
    std::string newText;               // the proposed text; after OK the edited text
    const DeviceFont* font = nullptr;  // the receiver's font, when found in the image
};

// Answers of a confirmer, as the patch confirmation dialog ends.
enum ConfirmAnswer : int { ConfirmOk = 1, ConfirmCancel = 2, ConfirmFindNext = 3 };

// Asks the user about one match: the patch confirmation dialog in the desktop program, a
// scripted answer in tavlo-cli and the tests. Returns a ConfirmAnswer (or -1 when it could not
// ask at all). On ConfirmOk, request.newText holds the text to write.
class PatchConfirmer {
public:
    virtual ~PatchConfirmer() = default;
    virtual int Confirm(PatchRequest& request) = 0;
};

// The owner text that the patch step proposes: the values of "L1", "L2", ... of `section`, each
// followed by "\n"; L1 to L7 fall back to their built-in defaults, the first missing key from L8
// on ends the list.
std::string ProposedOwnerText(std::string_view section);

}  // namespace tavlo
