#include "core/windows/windows_api.h"

#include <optional>
#include <string>

#include "core/ascii.h"
#include "core/embedded_resources.h"
#include "core/windows/win_io.h"

namespace tavlo {

namespace {

// A resource number, 1 to 65535, written in decimal.
std::optional<WORD> NumberOf(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) {
        return std::nullopt;
    }
    unsigned long number = 0;
    for (const char digit : digits) {
        if (digit < '0' || digit > '9') {
            return std::nullopt;
        }
        number = number * 10 + static_cast<unsigned long>(digit - '0');
    }
    if (number == 0 || number > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<WORD>(number);
}

// A name or type as FindResourceW takes it: a number as MAKEINTRESOURCEW, a text as itself (the
// loader compares texts in capitals, and the resource script wrote every one in capitals).
class ResourceId {
public:
    ResourceId(std::string_view text, std::optional<WORD> number)
        : number_(number), text_(number ? std::wstring() : Wide(std::string(text))) {}

    LPCWSTR Get() const { return number_ ? MAKEINTRESOURCEW(*number_) : text_.c_str(); }

private:
    std::optional<WORD> number_;
    std::wstring text_;
};

// "#132" is resource 132; any other name is a text.
ResourceId NameId(std::string_view name) {
    return {name, name.starts_with('#') ? NumberOf(name.substr(1)) : std::nullopt};
}

// "23" is type 23, "BITMAP" the predefined bitmap type (the screen picture); any other type is
// a text.
ResourceId TypeId(std::string_view type) {
    if (EqualIgnoringAsciiCase(type, "BITMAP")) {
        return {type, static_cast<WORD>(reinterpret_cast<ULONG_PTR>(RT_BITMAP))};
    }
    return {type, NumberOf(type)};
}

}  // namespace

std::optional<std::span<const std::uint8_t>> FindResource(std::string_view name,
                                                          std::string_view type) {
    // Every resource lies in the program's own file: tavlo_core is linked into it.
    const HMODULE program = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(program, NameId(name).Get(), TypeId(type).Get());
    if (found == nullptr) {
        return std::nullopt;
    }
    const HGLOBAL loaded = LoadResource(program, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return std::nullopt;
    }
    return std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(bytes),
                                         SizeofResource(program, found));
}

}  // namespace tavlo
