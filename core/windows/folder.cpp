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

namespace {

// The part of REPARSE_DATA_BUFFER that a symbolic link fills (the driver kit's header has it).
struct SymbolicLinkData {
    ULONG tag;
    USHORT dataLength;
    USHORT reserved;
    USHORT substituteOffset;
    USHORT substituteLength;
    USHORT printOffset;
    USHORT printLength;
    ULONG flags;
    WCHAR names[1];
};

}  // namespace

namespace {

// The path a handle's file has when every link on the way is followed, without "\\?\".
std::wstring FinalPathOf(HANDLE file) {
    std::wstring path(MAX_PATH, L'\0');
    DWORD n = GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()), 0);
    if (n >= path.size()) {
        path.resize(n);
        n = GetFinalPathNameByHandleW(file, path.data(), n, 0);
    }
    path.resize(n < path.size() ? n : 0);
    if (path.starts_with(L"\\\\?\\UNC\\")) {
        return L"\\" + path.substr(7);
    }
    return path.starts_with(L"\\\\?\\") ? path.substr(4) : path;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

FileError ReadLink(const std::string& path, bool& isLink, std::string& target) {
    isLink = false;
    const std::wstring system = SystemPath(path);
    const UniqueHandle link(OpenToLook(system, /*follow=*/false));
    if (!link.IsOpen()) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? FileError{} : FileErrorOf(error);
    }
    FileStamp stamp;
    alignas(8) BYTE buffer[MAXIMUM_REPARSE_DATA_BUFFER_SIZE];
    DWORD size = 0;
    const auto* data = reinterpret_cast<const SymbolicLinkData*>(buffer);
    if (!tavlo::StampOf(link.Get(), stamp) && stamp.type == FileStamp::Type::Link &&
        DeviceIoControl(link.Get(), FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer, sizeof buffer,
                        &size, nullptr) &&
        data->tag == IO_REPARSE_TAG_SYMLINK) {
        // A relative link's text has no drive or root (SYMLINK_FLAG_RELATIVE): IsAbsolutePath
        // tells.
        const WCHAR* names = data->names;
        std::wstring text(names + data->printOffset / 2, data->printLength / 2);
        if (text.empty()) {
            text.assign(names + data->substituteOffset / 2, data->substituteLength / 2);
            text.erase(0, text.starts_with(L"\\??\\") ? 4 : 0);
        }
        isLink = true;
        target = Utf8(text);
        return {};
    }
    // Links the system follows without showing them as reparse points (those of the Unix file
    // system under Wine): the file's final path tells where the name leads.
    const UniqueHandle file(OpenToLook(system, /*follow=*/true));
    const std::wstring final = file.IsOpen() ? FinalPathOf(file.Get()) : std::wstring();
    const std::wstring given = system.starts_with(L"\\\\?\\") ? system.substr(4) : system;
    if (!final.empty() && !SameText(final, given)) {
        isLink = true;
        target = Utf8(final);
    }
    return {};
}

}  // namespace tavlo::sys
