#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tavlo {

// A message text with "%1" ... "%9" replaced by the texts given, in one pass (a "%2" inside a
// text given is left as it is); a marker without a text stays.
inline std::string FormatMessage(std::string_view format,
                                 std::initializer_list<std::string_view> texts) {
    std::string result;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char next = i + 1 < format.size() ? format[i + 1] : '\0';
        const std::size_t index = static_cast<std::size_t>(next - '1');
        if (format[i] == '%' && next >= '1' && next <= '9' && index < texts.size()) {
            result += *(texts.begin() + index);
            ++i;
        } else {
            result += format[i];
        }
    }
    return result;
}

}  // namespace tavlo
