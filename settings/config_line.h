#pragma once

#include <string_view>

// The line rules of the settings file, apart from reading: what one piece of text read from the
// file means. Used by the settings reader only.
namespace tavlo::settings_detail {

// White space is space, \t, \n, \v, \f and \r only; no byte above 127 counts, whatever the
// locale says.
bool IsConfigWhitespace(char c);

// The text without white space at either end.
std::string_view TrimWhitespace(std::string_view text);

// One pair of single quotes around a text of at least two characters removed: «''x''» gives
// «'x'», «'» stays «'».
std::string_view StripQuotes(std::string_view text);

struct ConfigLine {
    enum class Kind { Ignored, Header, Entry };
    Kind kind = Kind::Ignored;
    std::string_view section;  // Header: the text between the brackets, untrimmed
    std::string_view key;      // Entry: trimmed; empty when the line holds no "="
    std::string_view value;    // Entry: trimmed, then unquoted
};

// The meaning of one piece of the file: blank and ";" lines are ignored, "[...]" opens a section,
// anything else is an entry split at its first "=". Views point into `piece`.
ConfigLine ParseConfigLine(std::string_view piece);

}  // namespace tavlo::settings_detail
