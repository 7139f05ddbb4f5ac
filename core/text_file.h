#pragma once

#include <cstddef>
#include <string>

#include "core/windows1252.h"

// Small text files the user names: the settings file and an owner text file. Such a name can
// point anywhere (/dev/zero, a pipe nobody writes to, a folder, a huge file), so only a regular
// file of a bounded size is read, and a pipe is never waited on.
namespace tavlo {

// No settings or owner text comes near this; anything larger is no such file.
inline constexpr std::size_t kMaxTextFileSize = std::size_t{1} << 20;

struct TextFileStatus {
    enum class Outcome {
        Read,       // the file was read whole
        NotOpened,  // it could not be opened (errorNumber says why; ENOENT: there is none)
        Refused,    // it is no regular file, or larger than kMaxTextFileSize
    };
    Outcome outcome = Outcome::NotOpened;
    int errorNumber = 0;                                // NotOpened: the errno of open()
    std::string problem;                                // NotOpened, Refused: why, in plain words
    TextEncoding encoding = TextEncoding::Windows1252;  // Read: see DecodeTextFile
    std::size_t replaced = 0;  // Read: characters Windows-1252 cannot hold, now "?"
    char32_t firstReplaced = 0;
};

struct TextFile {
    TextFileStatus status;
    std::string text;  // Read: the file's text in Windows-1252 (DecodeTextFile)
    std::string utf8;  // Read: the same characters in UTF-8, one for each byte of `text`
};

// Reads `path` if it is a regular file of at most kMaxTextFileSize bytes.
TextFile ReadTextFile(const std::string& path);

}  // namespace tavlo
