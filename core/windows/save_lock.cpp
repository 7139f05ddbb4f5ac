#include <cstdio>

#include "core/file_system.h"
#include "core/windows/handles.h"

namespace tavlo::sys {

struct SaveLock::Handle {
    HANDLE mutex = nullptr;
    ~Handle() {
        if (mutex != nullptr) {
            ReleaseMutex(mutex);
            CloseHandle(mutex);
        }
    }
};

SaveLock::SaveLock() = default;
SaveLock::SaveLock(SaveLock&&) noexcept = default;
SaveLock& SaveLock::operator=(SaveLock&&) noexcept = default;
SaveLock::~SaveLock() = default;

FileError SaveLock::Take(const Folder& folder, const std::string& name, FileStamp& locked) {
    // A lock held on the file itself would stop it from being replaced, so the lock is a mutex
    // named after the file's identity: every save of the file takes the same one, and the
    // system releases it when the process ends.
    if (FileError error = folder.StampOf(name, locked)) {
        return error;
    }
    wchar_t id[64];
    std::swprintf(id, 64, L"tavlo-save-%016llx-%016llx",
                  static_cast<unsigned long long>(locked.volume),
                  static_cast<unsigned long long>(locked.index));
    handle = std::make_unique<Handle>();
    for (const wchar_t* scope : {L"Global\\", L"Local\\"}) {
        if ((handle->mutex = CreateMutexW(nullptr, FALSE, (std::wstring(scope) + id).c_str()))) {
            break;
        }
    }
    if (handle->mutex == nullptr) {
        return LastError();
    }
    const DWORD waited = WaitForSingleObject(handle->mutex, INFINITE);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        const FileError error = LastError();
        CloseHandle(handle->mutex);
        handle->mutex = nullptr;
        return error;
    }
    return {};
}

FileError StampPath(const std::string& path, FileStamp& stamp) {
    const UniqueHandle file(OpenToLook(SystemPath(path), /*follow=*/true));
    return file.IsOpen() ? FileErrorOf(StampOf(file.Get(), stamp)) : LastError();
}

bool IsAbsolutePath(const std::string& path) {
    return path.starts_with('\\') || path.starts_with('/') ||
           (path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/'));
}

FileError ErrorOf(FileError::Kind kind) {
    switch (kind) {
        case FileError::Kind::IsFolder:
            return FileErrorOf(ERROR_DIRECTORY_NOT_SUPPORTED);
        case FileError::Kind::Denied:
            return FileErrorOf(ERROR_ACCESS_DENIED);
        case FileError::Kind::NotFound:
            return FileErrorOf(ERROR_FILE_NOT_FOUND);
        case FileError::Kind::TooManyLinks:
            return FileErrorOf(ERROR_CANT_RESOLVE_FILENAME);
        default:
            return FileErrorOf(ERROR_GEN_FAILURE);
    }
}

}  // namespace tavlo::sys
