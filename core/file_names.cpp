#include "core/file_names.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "core/ascii.h"
#include "core/windows1252.h"

namespace tavlo {

namespace {

// A byte that is no part of a UTF-8 character stands for itself, apart from every code point.
constexpr char32_t kLoneByte = 0x110000;

// The characters of a name, ASCII letters folded to one case: what the wildcards compare.
std::vector<char32_t> FoldedCharacters(std::string_view text) {
    std::vector<char32_t> characters;
    characters.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        if (!DecodeUtf8(text, i, cp)) {
            cp = kLoneByte + static_cast<unsigned char>(text[i++]);
        }
        characters.push_back(cp < 0x80 ? static_cast<char32_t>(FoldAscii(cp)) : cp);
    }
    return characters;
}

}  // namespace

std::filesystem::path FileSystemPath(std::string_view nativePath) {
    return std::filesystem::path(std::u8string(nativePath.begin(), nativePath.end()));
}

std::string NativePathOf(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

std::string PathForMessageBox(std::string_view nativePath) {
    constexpr char32_t kControlPictures = 0x2400;  // U+2400 "NUL" symbol and on
    constexpr char32_t kDeletePicture = 0x2421;
    constexpr char32_t kNoCharacter = 0xFFFD;
    std::string shown;
    shown.reserve(nativePath.size());
    for (std::size_t i = 0; i < nativePath.size();) {
        char32_t cp = 0;
        if (!DecodeUtf8(nativePath, i, cp)) {
            ++i;
            cp = kNoCharacter;
        } else if (cp < 0x20) {
            cp += kControlPictures;
        } else if (cp == 0x7F) {
            cp = kDeletePicture;
        } else if (cp >= 0x80 && cp < 0xA0) {
            cp = kNoCharacter;  // the C1 controls have no symbols of their own
        }
        shown += CodePointToUtf8(cp);
    }
    return shown;
}

bool WildcardMatch(std::string_view patternText, std::string_view nameText) {
    const std::vector<char32_t> pattern = FoldedCharacters(patternText);
    const std::vector<char32_t> name = FoldedCharacters(nameText);
    // Greedy matching that goes back to the last "*" on a mismatch: linear in practice and
    // never recursive.
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = pattern.size();
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == U'*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starAt != pattern.size()) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*') {
        ++p;
    }
    return p == pattern.size();
}

std::optional<std::string> FirstMatchingFile(std::string_view pattern) {
    const std::size_t slash = pattern.find_last_of(kPathSeparators);
    const std::string_view directory =
        slash == std::string_view::npos ? std::string_view() : pattern.substr(0, slash + 1);
    const std::string_view namePattern = pattern.substr(directory.size());
    if (namePattern.empty()) {
        return std::nullopt;
    }

    std::error_code error;
    const std::filesystem::path folder = FileSystemPath(directory.empty() ? "." : directory);
    std::optional<std::string> first;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) {
            continue;
        }
        std::string name = NativePathOf(it->path().filename());
        if (WildcardMatch(namePattern, name) && (!first || name < *first)) {
            first = std::move(name);
        }
    }
    if (!first) {
        return std::nullopt;
    }
    return std::string(directory) + *first;
}

}  // namespace tavlo
