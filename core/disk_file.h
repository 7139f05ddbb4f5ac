#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>

// The file calls that differ from one system to another, behind one small interface that the
// rest of the program uses: the firmware file an image is read from and saved to, small text
// files, a file read in pieces and the running program's own path. core/posix/ fills it on
// Linux, core/windows/ on Windows.
namespace tavlo {

// How a save ended.
enum class SaveOutcome {
    Saved,
    Failed,       // FileFailure says why
    FileChanged,  // the file on disk is not the one that was loaded: nothing written
};

// What a save does when the file on disk is no longer the one that was loaded.
enum class IfFileChanged { Keep, Overwrite };

struct FileFailure {
    bool openForWriteFailed = false;  // the file could not be written at all (nothing was done)
    std::string message;              // names the file and the cause in plain words
    std::string advice;               // what the user can do about it, if anything
};

// The file that an image is read from and saved to, found once and then held: the folder that
// holds it (after the links of the name's final component are followed) and the folder of its
// backup name, so a save goes into those very folders whatever happens to their paths meanwhile.
// A file that was read is remembered, so a save can tell whether it is still the one read.
class DiskFile {
public:
    DiskFile();
    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;
    ~DiskFile();

    // Finds the file that `path` names (a name that does not exist yet is found as itself).
    bool Find(const std::string& path, std::string& error);
    // Holds the folder of the file found and the folder of `backupPath`.
    bool OpenFolders(const std::string& backupPath, std::string& error);

    // Opens the file found for reading and tells its size; refuses a folder, anything but a
    // regular file, and a file of 4 GiB or more. The file is remembered as read.
    bool OpenToRead(std::uint32_t& size, std::string& error);
    // Reads up to `size` bytes of the opened file into `buffer` and closes it. The number of
    // bytes read (fewer when the file ends first), or -1 and `error` says why.
    std::int64_t ReadOpened(std::uint8_t* buffer, std::uint32_t size, std::string& error);

    // True when making the backup would destroy the file: the backup name is the file's own
    // entry. Another name of the same file is not.
    bool BackupIsTheFile() const;

    // Replaces the file with `bytes` without ever losing it: the new contents are written
    // beside it, flushed and read back before anything changes; with makeBackup what stands at
    // the name then becomes the backup. When the file on disk is no longer the one read (or the
    // name given now leads elsewhere), nothing is written and the answer is FileChanged, unless
    // told to overwrite. On failure the file and its old backup are as they were. Messages
    // name the file as `shownName`.
    SaveOutcome Replace(std::span<const std::uint8_t> bytes, bool makeBackup,
                        IfFileChanged ifChanged, const std::string& shownName,
                        FileFailure& failure);

    const std::string& FilePath() const;    // the file found, for messages
    const std::string& BackupPath() const;  // as given to OpenFolders

private:
    struct Held;  // the system's handles
    std::unique_ptr<Held> held_;
};

// A firmware file read in pieces (the rules of DiskFile::OpenToRead).
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

}  // namespace tavlo
