#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

// The file calls that differ from one system to another, behind one small interface that the
// rest of the program uses: small text files, a file read in pieces and the running program's
// own path. core/posix/ fills it on Linux, core/windows/ on Windows. Loading and saving an image
// stand on core/file_system.h.
namespace tavlo {

// A firmware file read in pieces (the rules of ReadWholeFile).
class FileInPieces {
public:
    FileInPieces();
    FileInPieces(const FileInPieces&) = delete;
    FileInPieces& operator=(const FileInPieces&) = delete;
    ~FileInPieces();

    bool Open(const std::string& path, std::uint32_t& size, std::string& error);
    // Reads on from where the last ReadOn stopped: the number of bytes read (fewer at the
    // file's end), or -1 and `error` says why.
    std::int64_t ReadOn(std::uint8_t* into, std::size_t count, std::string& error);
    // Exactly `count` bytes from offset `at`, apart from ReadOn's place; false on a read error
    // or when the file ends first.
    bool ReadAt(std::uint64_t at, char* into, std::size_t count);

private:
    struct Held;
    std::unique_ptr<Held> held_;
};

// A small file the user names, read whole if it is a regular file of at most maxSize bytes. Such
// a name can point anywhere (a device, a pipe nobody writes to, a folder), so a pipe is never
// waited on.
struct SmallFile {
    enum class Result { Read, NotOpened, Refused, TooLarge };
    Result result = Result::NotOpened;
    int errorNumber = 0;  // NotOpened: the errno of the open (ENOENT: there is none)
    std::string problem;  // NotOpened, Refused: why, in plain words
    std::string bytes;    // Read

    // A file that was not read, and why.
    static SmallFile Unread(Result result, std::string problem = {}) {
        SmallFile file;
        file.result = result;
        file.problem = std::move(problem);
        return file;
    }
};
SmallFile ReadSmallFile(const std::string& path, std::size_t maxSize);

// Opens a file by its file-system name as a C stream (std::fopen's modes), or nullptr.
std::FILE* OpenStream(const std::string& path, const char* mode);

// The full path of the running program's own file, as the system knows it (a program started
// through PATH has no folder in its argument zero). Nothing when the system cannot tell.
std::optional<std::string> RunningExecutablePath();

// The user's own folder for Tavlo's settings: $XDG_CONFIG_HOME/tavlo (default ~/.config/tavlo)
// on Linux, %APPDATA%\Tavlo on Windows. Nothing when the system knows no such folder.
std::optional<std::string> UserSettingsFolder();

// Whether the user may create files in `folder` (empty: the current folder).
bool IsWritableFolder(const std::string& folder);

// The folders the system's installers put programs into: a program below one of them was
// installed, and its folder is not the user's. Linux: /usr and /opt. Windows: the Program Files
// folders and the user's own programs folder (%LOCALAPPDATA%\Programs), as the system names
// them.
std::vector<std::string> InstallationFolders();

}  // namespace tavlo
