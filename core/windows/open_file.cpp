#include "core/file_system.h"
#include "core/windows/handles.h"

namespace tavlo::sys {

OpenFile::OpenFile() = default;
OpenFile::OpenFile(OpenFile&&) noexcept = default;
OpenFile& OpenFile::operator=(OpenFile&&) noexcept = default;
OpenFile::~OpenFile() = default;

bool OpenFile::IsOpen() const {
    return handle && handle->file.IsOpen();
}

FileError OpenFile::Stamp(FileStamp& stamp) const {
    return FileErrorOf(StampOf(handle->file.Get(), stamp));
}

FileError OpenFile::Write(std::span<const std::uint8_t> bytes) {
    return FileErrorOf(WriteAll(handle->file.Get(), bytes.data(), bytes.size()));
}

FileError OpenFile::Flush() {
    return FlushFileBuffers(handle->file.Get()) ? FileError{} : LastError();
}

FileError OpenFile::ReadAt(std::uint64_t offset, std::uint8_t* into, std::size_t count,
                           std::size_t& got) const {
    // Every read names its offset: the handle's own position is not used.
    got = 0;
    while (got < count) {
        OVERLAPPED where{};
        where.Offset = static_cast<DWORD>(offset + got);
        where.OffsetHigh = static_cast<DWORD>((offset + got) >> 32);
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(count - got, 1u << 30));
        if (!ReadFile(handle->file.Get(), into + got, want, &n, &where)) {
            const DWORD error = GetLastError();
            return error == ERROR_HANDLE_EOF ? FileError{} : FileErrorOf(error);
        }
        if (n == 0) {
            break;
        }
        got += n;
    }
    return {};
}

FileError OpenFile::TakeModeOf(const FileStamp*) {
    return {};  // Windows files have no owner and permission bits of this kind
}

void OpenFile::Close() {
    handle.reset();
}

}  // namespace tavlo::sys
