#pragma once

#include <string>

// The main dialog's messages, written out here on their own so a slip in the program's copy
// shows up.
namespace tavlo::test {

inline const std::string kLoadFailedTitle = "Tavlo : Could not load file to patch";
inline std::string LoadFailedText(const std::string& fileName) {
    return "The specified file '" + fileName +
           "' could not be opened.\n\nPlease verify that the file exists.\nUse the [Browse ...] "
           "button to browse for files.";
}

inline const std::string kNothingTitle = "Tavlo : Nothing to search for";
inline const std::string kNothingText =
    "Please enter the start of the message you\nwant to patch into the 'search for' "
    "field.\n\nYou left this field empty - Tavlo needs to\nknow what to search for.\n\n(Example: "
    "'WARNING')\n";

inline const std::string kNotFoundTitle = "Tavlo : Search text not found";
inline const std::string kNotFoundText =
    "The text to be patched could not be found.\n\nNote that the search string is case "
    "sensitive.\n\nMake sure it is spelled correctly and that you\ngot the right firmware file - "
    "in a file that has\nalready been patched, the original text will not\nbe found any more !";

inline const std::string kSaveTitle = "Tavlo : Save changes ?";
inline std::string SaveQuestion(const std::string& fileName) {
    return "The firmware file in memory has been patched successfully.\nIf you click YES, your "
           "changes will be saved to the file \n'" +
           fileName +
           "'\n\nA backup of this file is created with a .BAK extension.\n\nSelect NO to exit "
           "without saving your changes.";
}

inline const std::string kTooLongText = "Please enter no more than 128 characters.";

}  // namespace tavlo::test
