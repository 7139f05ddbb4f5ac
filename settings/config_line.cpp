#include "settings/config_line.h"

namespace tavlo::settings_detail {

bool IsConfigWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view TrimWhitespace(std::string_view text) {
    while (!text.empty() && IsConfigWhitespace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsConfigWhitespace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view StripQuotes(std::string_view text) {
    if (text.size() >= 2 && text.front() == '\'' && text.back() == '\'') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

ConfigLine ParseConfigLine(std::string_view piece) {
    const std::string_view text = TrimWhitespace(piece);
    ConfigLine line;
    if (text.empty() || text.front() == ';') {
        return line;
    }
    // A lone "[" is not a header: its last character is the "[" itself.
    if (text.front() == '[' && text.back() == ']') {
        line.kind = ConfigLine::Kind::Header;
        line.section = text.substr(1, text.size() - 2);
        return line;
    }
    line.kind = ConfigLine::Kind::Entry;
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        line.value = StripQuotes(text);
    } else {
        line.key = TrimWhitespace(text.substr(0, equals));
        line.value = StripQuotes(TrimWhitespace(text.substr(equals + 1)));
    }
    return line;
}

}  // namespace tavlo::settings_detail
