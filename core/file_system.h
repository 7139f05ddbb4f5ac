#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

// The system's file calls that loading and saving are made of, one step each and no policy:
// core/posix/ and core/windows/ fill them in. The order of the steps, and what a failure of each
// one means, is written once, in core/atomic_file.cpp. Names are UTF-8.
namespace tavlo::sys {

// A failed call: the kind the policy tells apart, and the cause in the system's own words.
struct FileError {
    enum class Kind { None, NotFound, Exists, Denied, IsFolder, NoHardLinks, TooManyLinks, Other };
    Kind kind = Kind::None;
    std::string text;
    explicit operator bool() const { return kind != Kind::None; }
};

// The system's words for a cause that the policy finds by looking rather than by a failed call
// (a folder where a file should be, a file that may not be written).
FileError ErrorOf(FileError::Kind kind);

// What tells one file from another, and a change of its contents.
struct FileStamp {
    enum class Type { File, Folder, Link, Other };
    Type type = Type::Other;
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // the contents' time, in the system's ticks
    std::int64_t changed = 0;   // moves with every change, even when the contents' time is put back
    std::uint64_t links = 1;    // names (hard links) of the file
    unsigned permissions = 0;   // POSIX mode bits; 0 where the system has none
    std::uint32_t owner = 0;
    std::uint32_t group = 0;

    bool IsSameFile(const FileStamp& other) const {
        return volume == other.volume && index == other.index;
    }
    // The same file with the same type, size and contents' time (the change time aside: a new
    // name or new permission bits move it too).
    bool IsUnchangedFrom(const FileStamp& other) const {
        return IsSameFile(other) && type == other.type && size == other.size &&
               modified == other.modified;
    }
};

// One open file.
class OpenFile {
public:
    OpenFile();
    OpenFile(OpenFile&&) noexcept;
    OpenFile& operator=(OpenFile&&) noexcept;
    ~OpenFile();

    bool IsOpen() const;
    FileError Stamp(FileStamp& stamp) const;
    FileError Write(std::span<const std::uint8_t> bytes);
    FileError Flush();
    // Up to `count` bytes from `offset`; fewer (0 at the end) when the file ends first.
    FileError ReadAt(std::uint64_t offset, std::uint8_t* into, std::size_t count,
                     std::size_t& got) const;
    // Gives the file the owner and permission bits of `like`, or (no `like`) those a new file
    // gets, where the system has such things.
    FileError TakeModeOf(const FileStamp* like);
    void Close();

    struct Handle;
    std::unique_ptr<Handle> handle;
};

// A folder held open. Its entries are reached through it, so they stay those of this folder
// even when its path is renamed or replaced meanwhile.
class Folder {
public:
    Folder();
    Folder(Folder&&) noexcept;
    Folder& operator=(Folder&&) noexcept;
    ~Folder();

    static FileError Open(const std::string& path, Folder& folder);
    const std::string& Path() const;

    FileError Stamp(FileStamp& stamp) const;
    // The entry `name`; a link there is not followed.
    FileError StampOf(const std::string& name, FileStamp& stamp) const;
    // Fails when the user may not write the file `name` (its permission bits, its read-only
    // attribute) though the folder would let it be replaced, or may not replace it (another
    // user's file in a folder with the sticky bit).
    FileError CheckWritable(const std::string& name) const;
    // Opens `name` to read, not through a link there and never waiting on a pipe.
    FileError OpenToRead(const std::string& name, OpenFile& file) const;
    // Creates `name`, which must not exist, to read and write. Until it is closed, no other
    // process may take it for a leftover (see RemoveIfUnused).
    FileError CreateNew(const std::string& name, OpenFile& file) const;
    // Gives the file `name` (a link there is not followed) the second name `toName` in `to`;
    // NoHardLinks where the file system has none for it.
    FileError Link(const std::string& name, const Folder& to, const std::string& toName) const;
    // Renames `name` to `toName` in `to`; with `replace`, in one step over what is there.
    FileError Move(const std::string& name, const Folder& to, const std::string& toName,
                   bool replace) const;
    FileError Remove(const std::string& name) const;
    // Removes `name` when it is a regular file that no process holds open or locked.
    void RemoveIfUnused(const std::string& name) const;
    std::vector<std::string> Names() const;
    // Flushes the folder's entries to the disk (best effort).
    void Sync() const;

    struct Handle;
    std::unique_ptr<Handle> handle;
};

// Held from a save's check of the file to its commit: no other save of the same file gets past
// its own check meanwhile. Released when destroyed, or when the process ends.
class SaveLock {
public:
    SaveLock();
    SaveLock(SaveLock&&) noexcept;
    SaveLock& operator=(SaveLock&&) noexcept;
    ~SaveLock();

    // Waits for the lock of the file `name` in `folder` and tells which file it locked.
    FileError Take(const Folder& folder, const std::string& name, FileStamp& locked);

    struct Handle;
    std::unique_ptr<Handle> handle;
};

// What a symbolic link at `path` holds (`isLink` false when there is none, or no such name).
FileError ReadLink(const std::string& path, bool& isLink, std::string& target);

// The stamp of what `path` leads to, links followed.
FileError StampPath(const std::string& path, FileStamp& stamp);

// Whether a link's text names its target from the root rather than from the link's folder.
bool IsAbsolutePath(const std::string& path);

}  // namespace tavlo::sys
