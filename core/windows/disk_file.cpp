#include "core/disk_file.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>

#include "core/windows/win_io.h"
#include "core/windows1252.h"

// The Windows save keeps every promise of the Linux one: the new contents go to a temporary file
// in the same folder, every write is checked, the file is flushed and read back before anything
// else changes; the backup is made beside the old backup and moved over it in one step, and only
// then the temporary file replaces the original (MoveFileExW, replacing and writing through).
namespace tavlo {

namespace {

constexpr std::size_t kChunk = std::size_t{1} << 20;

std::string Quoted(const std::string& path) {
    return "'" + PathForMessage(path) + "'";
}

constexpr DWORD kMoveFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

// Removes temporary files "<path>.tavlo-*" that a save which never finished left behind; one
// still open in a save in progress (opened without sharing) cannot be removed and stays.
void RemoveLeftoverTemporaries(const std::wstring& path) {
    const std::wstring folder = FolderOf(path);
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((path + L".tavlo-*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// Creates a new temporary file beside `path`, open for reading and writing and shared with no
// one, so no other save takes it for a leftover.
UniqueHandle CreateTemporaryBeside(const std::wstring& path, std::wstring& temporary) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = TemporaryBeside(path);
        UniqueHandle file(CreateFileW(temporary.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.IsOpen() || GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return UniqueHandle();
}

// Reads the whole file back and compares it with what was meant to be written.
DWORD VerifyContents(HANDLE file, std::span<const std::uint8_t> bytes, bool& same) {
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) {
        return GetLastError();
    }
    const std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[kChunk]);
    same = true;
    std::size_t offset = 0;
    while (same) {
        DWORD error = 0;
        const std::int64_t got = ReadUpTo(file, buffer.get(), kChunk, error);
        if (got < 0) {
            return error;
        }
        const auto count = static_cast<std::size_t>(got);
        same = count <= bytes.size() - offset &&
               std::memcmp(buffer.get(), bytes.data() + offset, count) == 0;
        offset += count;
        if (count < kChunk) {
            break;
        }
    }
    same = same && offset == bytes.size();
    return 0;
}

}  // namespace

struct DiskFile::Held {
    std::string path;        // as given
    std::wstring wide;       // as given, UTF-16
    std::wstring resolved;   // full path of the file
    std::wstring backup;     // full path of the backup
    std::string backupPath;  // as given
    UniqueHandle reading;    // the file between OpenToRead and ReadOpened
    std::optional<WinFileStamp> read;
};

DiskFile::DiskFile() : held_(std::make_unique<Held>()) {}

DiskFile::~DiskFile() = default;

bool DiskFile::Find(const std::string& path, std::string& error) {
    Held& held = *held_;
    held.path = path;
    held.wide = Wide(path);
    held.resolved = FullPath(held.wide);
    // "folder\" names a folder, never a file in it.
    if (path.empty() || FinalComponentOf(held.resolved).empty()) {
        error = ErrorText(path.empty() ? ENOENT : EISDIR);
        return false;
    }
    return true;
}

bool DiskFile::OpenFolders(const std::string& backupPath, std::string& error) {
    Held& held = *held_;
    held.backupPath = backupPath;
    held.backup = FullPath(Wide(backupPath));
    for (const std::wstring* path : {&held.resolved, &held.backup}) {
        const DWORD attributes = GetFileAttributesW(FolderOf(*path).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            error = WinErrorText(GetLastError());
            return false;
        }
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            error = ErrorText(ENOTDIR);
            return false;
        }
    }
    return true;
}

bool DiskFile::OpenToRead(std::uint32_t& size, std::string& error) {
    Held& held = *held_;
    held.reading = OpenFirmwareFile(held.resolved, size, error);
    if (!held.reading.IsOpen()) {
        return false;
    }
    // Taken before the bytes are read: a change while they are read shows as a change later.
    WinFileStamp stamp;
    if (const DWORD failed = StampOf(held.reading.Get(), stamp); failed != 0) {
        error = WinErrorText(failed);
        held.reading.Reset();
        return false;
    }
    held.read = stamp;
    return true;
}

std::int64_t DiskFile::ReadOpened(std::uint8_t* buffer, std::uint32_t size, std::string& error) {
    DWORD failed = 0;
    const std::int64_t got = ReadUpTo(held_->reading.Get(), buffer, size, failed);
    if (got < 0) {
        error = WinErrorText(failed);
    }
    held_->reading.Reset();
    return got;
}

bool DiskFile::BackupIsTheFile() const {
    WinFileStamp file;
    WinFileStamp backup;
    if (StampAt(held_->resolved, file) != 0 || StampAt(held_->backup, backup) != 0 ||
        !file.IsSameFile(backup)) {
        return false;
    }
    // Two names of one file are two entries (a hard link), unless the file has one name only:
    // then the file system, which ignores case, took two spellings of it for one entry.
    return CompareStringOrdinal(held_->resolved.c_str(), -1, held_->backup.c_str(), -1, TRUE) ==
               CSTR_EQUAL ||
           file.links == 1;
}

SaveOutcome DiskFile::Replace(std::span<const std::uint8_t> bytes, bool makeBackup,
                              IfFileChanged ifChanged, const std::string& shownName,
                              FileFailure& failure) {
    Held& held = *held_;
    const std::wstring& target = held.resolved;
    std::wstring temporary;
    // Removes the temporary file on every way out but the successful one.
    struct Cleanup {
        std::wstring* name;
        ~Cleanup() {
            if (!name->empty()) {
                DeleteFileW(name->c_str());
            }
        }
    } cleanup{&temporary};
    const auto fail = [&](DWORD error) {
        failure.message = "Could not write " + Quoted(held.path) + ": " + WinErrorText(error);
        return SaveOutcome::Failed;
    };

    WinFileStamp existing;
    const DWORD missing = StampAt(target, existing);
    if (missing != 0 && !IsNotFound(missing)) {
        return fail(missing);
    }
    if (missing == 0 && existing.IsFolder()) {
        failure.message = "Could not write " + Quoted(held.path) + ": " + ErrorText(EISDIR);
        return SaveOutcome::Failed;
    }
    // A file the user may not write stays as it is, even though its folder would allow
    // replacing it.
    if (missing == 0 && (existing.attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        failure.openForWriteFailed = true;
        return fail(ERROR_ACCESS_DENIED);
    }
    RemoveLeftoverTemporaries(target);
    UniqueHandle file = CreateTemporaryBeside(target, temporary);
    if (!file.IsOpen()) {
        const DWORD error = GetLastError();
        temporary.clear();
        failure.openForWriteFailed = true;
        failure.message = "Could not create a temporary file beside " + Quoted(held.path) + ": " +
                          WinErrorText(error);
        return SaveOutcome::Failed;
    }
    if (const DWORD error = WriteAll(file.Get(), bytes.data(), bytes.size()); error != 0) {
        return fail(error);
    }
    if (!FlushFileBuffers(file.Get())) {
        return fail(GetLastError());
    }
    bool same = false;
    if (const DWORD error = VerifyContents(file.Get(), bytes, same); error != 0) {
        return fail(error);
    }
    if (!same) {
        failure.message = "Could not write " + Quoted(held.path) +
                          ": the written file does not read back as written";
        return SaveOutcome::Failed;
    }
    file.Reset();

    // Looked at as late as possible: right before the file on disk is replaced.
    WinFileStamp now;
    const DWORD looked = StampAt(target, now);
    if (looked != 0 && !IsNotFound(looked)) {
        failure.message = "Could not write " + Quoted(shownName) + ": " + WinErrorText(looked);
        return SaveOutcome::Failed;
    }
    const bool gone = looked != 0;
    const bool changed = FullPath(held.wide) != held.resolved ||
                         (!gone && held.read && !now.IsUnchangedFrom(*held.read));
    if (changed && ifChanged == IfFileChanged::Keep) {
        return SaveOutcome::FileChanged;
    }
    // What stands at the name now becomes the backup: a second name of the file (or a complete
    // copy where the file system has no hard links), moved over the old backup in one step.
    if (makeBackup && !gone) {
        RemoveLeftoverTemporaries(held.backup);
        const std::wstring backupTemporary = TemporaryBeside(held.backup);
        DWORD error = 0;
        if (!CreateHardLinkW(backupTemporary.c_str(), target.c_str(), nullptr) &&
            !CopyFileW(target.c_str(), backupTemporary.c_str(), TRUE)) {
            error = GetLastError();
        } else if (!MoveFileExW(backupTemporary.c_str(), held.backup.c_str(), kMoveFlags)) {
            error = GetLastError();
            DeleteFileW(backupTemporary.c_str());
        } else {
            // When the backup name already was another name of the file (a save stopped between
            // its backup and its replacement), a move onto it may succeed without taking the
            // temporary name away (POSIX rename() under Wine does so); the name is not needed.
            DeleteFileW(backupTemporary.c_str());
        }
        if (error != 0) {
            failure.message =
                "Could not make the backup " + Quoted(held.backupPath) + ": " + WinErrorText(error);
            return SaveOutcome::Failed;
        }
    }
    if (!MoveFileExW(temporary.c_str(), target.c_str(), kMoveFlags)) {
        failure.message =
            "Could not replace " + Quoted(held.path) + ": " + WinErrorText(GetLastError());
        return SaveOutcome::Failed;
    }
    temporary.clear();
    WinFileStamp written;
    if (StampAt(target, written) == 0) {
        held.read = written;
    }
    return SaveOutcome::Saved;
}

const std::string& DiskFile::FilePath() const {
    return held_->path;
}

const std::string& DiskFile::BackupPath() const {
    return held_->backupPath;
}

}  // namespace tavlo
