#pragma once

#include <string>

namespace tavlo {

// Why a file could not be read or written, for whoever tells the user: the window builds its
// message box from it, tavlo-cli its line on standard error. Texts are Windows-1252.
struct FileFailure {
    // Nothing could be written at all: the file, or its folder, refuses to be written.
    bool openForWriteFailed = false;
    std::string message;  // names the file and the cause: "Could not write 'a.rgn': ..."
    std::string advice;   // what the user can do about it, when there is something to say

    // "<what> '<path>': <cause>".
    static FileFailure Of(const char* what, const std::string& path, const std::string& cause);
};

// A file's path in single quotes, as every message names a file.
std::string Quoted(const std::string& path);

}  // namespace tavlo
