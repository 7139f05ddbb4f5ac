#include "core/file_system.h"
#include "core/windows/handles.h"

namespace tavlo::sys {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

FileError Result(BOOL done) {
    return done ? FileError{} : LastError();
}

}  // namespace

Folder::Folder() = default;
Folder::Folder(Folder&&) noexcept = default;
Folder& Folder::operator=(Folder&&) noexcept = default;
Folder::~Folder() = default;

FileError Folder::Open(const std::string& path, Folder& folder) {
    folder.handle = std::make_unique<Handle>();
    folder.handle->path = path;
    folder.handle->system = SystemPath(path);
    while (folder.handle->system.ends_with(L'\\') && !folder.handle->system.ends_with(L":\\")) {
        folder.handle->system.pop_back();
    }
    folder.handle->folder = UniqueHandle(CreateFileW(
        folder.handle->system.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FileStamp stamp;
    if (!folder.handle->folder.IsOpen()) {
        return LastError();
    }
    if (folder.Stamp(stamp) || stamp.type != FileStamp::Type::Folder) {
        return FileErrorOf(ERROR_DIRECTORY);
    }
    return {};
}

const std::string& Folder::Path() const {
    return handle->path;
}

FileError Folder::Stamp(FileStamp& stamp) const {
    return FileErrorOf(tavlo::StampOf(handle->folder.Get(), stamp));
}

FileError Folder::StampOf(const std::string& name, FileStamp& stamp) const {
    const UniqueHandle entry(OpenToLook(handle->Entry(name), /*follow=*/false));
    return entry.IsOpen() ? FileErrorOf(tavlo::StampOf(entry.Get(), stamp)) : LastError();
}

FileError Folder::CheckWritable(const std::string& name) const {
    const DWORD attributes = GetFileAttributesW(handle->Entry(name).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return LastError();
    }
    return (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? FileErrorOf(ERROR_ACCESS_DENIED)
                                                       : FileError{};
}

FileError Folder::OpenToRead(const std::string& name, OpenFile& file) const {
    // A folder opens too, so that it is refused as a folder; a link is opened as itself.
    file.handle = std::make_unique<OpenFile::Handle>();
    file.handle->file = UniqueHandle(CreateFileW(
        handle->Entry(name).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN,
        nullptr));
    return Result(file.handle->file.IsOpen());
}

FileError Folder::CreateNew(const std::string& name, OpenFile& file) const {
    // Shared for reading and renaming only: a cleanup's exclusive open fails while it is held.
    file.handle = std::make_unique<OpenFile::Handle>();
    file.handle->file = UniqueHandle(CreateFileW(
        handle->Entry(name).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
        FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    return Result(file.handle->file.IsOpen());
}

FileError Folder::Link(const std::string& name, const Folder& to, const std::string& toName) const {
    return Result(
        CreateHardLinkW(to.handle->Entry(toName).c_str(), handle->Entry(name).c_str(), nullptr));
}

FileError Folder::Move(const std::string& name, const Folder& to, const std::string& toName,
                       bool replace) const {
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    return Result(
        MoveFileExW(handle->Entry(name).c_str(), to.handle->Entry(toName).c_str(), flags));
}

FileError Folder::Remove(const std::string& name) const {
    return Result(DeleteFileW(handle->Entry(name).c_str()));
}

void Folder::RemoveIfUnused(const std::string& name) const {
    // Shared with no one: fails while any process holds the file.
    const UniqueHandle file(CreateFileW(handle->Entry(name).c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                        0, nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT,
                                        nullptr));
    FileStamp stamp;
    if (file.IsOpen() && !tavlo::StampOf(file.Get(), stamp) &&
        stamp.type == FileStamp::Type::File) {
        FILE_DISPOSITION_INFO dispose{TRUE};
        SetFileInformationByHandle(file.Get(), FileDispositionInfo, &dispose, sizeof dispose);
    }
}

std::vector<std::string> Folder::Names() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((handle->system + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        names.push_back(Utf8(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

void Folder::Sync() const {
    // MOVEFILE_WRITE_THROUGH has written the folder's entries already.
}

}  // namespace tavlo::sys
