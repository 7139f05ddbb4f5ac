#include "core/file_names.h"

#include <filesystem>
#include <system_error>

#include "core/ascii.h"
#include "core/windows1252.h"

namespace tavlo {

std::filesystem::path FileSystemPath(std::string_view nativePath) {
    return std::filesystem::path(std::u8string(nativePath.begin(), nativePath.end()));
}

std::string NativePathOf(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

std::string NativePath(std::string_view windows1252) {
    return Windows1252ToUtf8(windows1252);
}

std::optional<std::string> FieldTextOfPath(std::string_view nativePath) {
    Utf8Conversion converted = Utf8ToWindows1252(nativePath);
    if (!converted.ok) {
        return std::nullopt;
    }
    return std::move(converted.text);
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    // Greedy matching that goes back to the last "*" on a mismatch: linear in practice and
    // never recursive.
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || FoldAscii(static_cast<unsigned char>(pattern[p])) ==
                                             FoldAscii(static_cast<unsigned char>(name[n])))) {
            ++p;
            ++n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
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
    const std::filesystem::path folder =
        FileSystemPath(directory.empty() ? std::string(".") : NativePath(directory));
    std::optional<std::string> first;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) {
            continue;
        }
        const std::optional<std::string> name =
            FieldTextOfPath(NativePathOf(it->path().filename()));
        if (name && WildcardMatch(namePattern, *name) && (!first || *name < *first)) {
            first = name;
        }
    }
    if (!first) {
        return std::nullopt;
    }
    return std::string(directory) + *first;
}

}  // namespace tavlo
