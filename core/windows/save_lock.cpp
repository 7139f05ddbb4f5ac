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

}  // namespace tavlo::sys
