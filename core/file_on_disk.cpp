#include "core/file_on_disk.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "core/file_names.h"

namespace tavlo {

namespace {

// A piece of a file read at a time: small enough to stay in the cache for its digest.
constexpr std::size_t kReadPiece = std::size_t{1} << 18;

// As many links as the Linux kernel itself follows in one path lookup.
constexpr int kMaxLinks = 40;

std::size_t LastSeparator(const std::string& path) {
    return path.find_last_of(kPathSeparators);
}

std::uint64_t Mix(std::uint64_t lane, std::uint64_t word) {
    lane = (lane ^ word) * 0x9E3779B97F4A7C15ull;
    return lane ^ (lane >> 29);
}

}  // namespace

void ContentDigest::Add(const std::uint8_t* bytes, std::size_t count) {
    // Eight lanes of exclusive-or, rotation and addition, which the compiler spreads over vector
    // registers: the digest keeps up with reading the file.
    // The lanes are worked on in a copy: the bytes could alias the object, and would keep the
    // lanes from staying in registers.
    std::uint64_t lanes[kLanes];
    std::memcpy(lanes, lanes_, sizeof lanes);
    std::size_t i = 0;
    for (; i + 64 <= count; i += 64) {
        for (int lane = 0; lane < kLanes; ++lane) {
            std::uint64_t word;
            std::memcpy(&word, bytes + i + 8 * lane, 8);
            const std::uint64_t mixed = lanes[lane] ^ word;
            lanes[lane] = ((mixed << 23) | (mixed >> 41)) + 0x9E3779B97F4A7C15ull;
        }
    }
    std::memcpy(lanes_, lanes, sizeof lanes);
    for (; i < count; ++i) {
        lanes_[i % kLanes] = Mix(lanes_[i % kLanes], bytes[i] | 0x100u);
    }
    count_ += count;
}

std::uint64_t ContentDigest::Value() const {
    std::uint64_t value = count_;
    for (const std::uint64_t lane : lanes_) {
        value = Mix(value, lane);
    }
    return value;
}

std::string FolderOf(const std::string& path) {
    const std::size_t separator = LastSeparator(path);
    if (separator == std::string::npos) {
        return ".";
    }
    // "/" and "C:\" keep their separator: without it they would name another folder.
    const bool root = separator == 0 || (separator == 2 && path[1] == ':');
    return path.substr(0, root ? separator + 1 : separator);
}

std::string FinalComponentOf(const std::string& path) {
    const std::size_t separator = LastSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

sys::FileError FollowLinks(const std::string& path, std::string& resolved) {
    std::string current = path;
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        bool isLink = false;
        std::string target;
        if (sys::FileError error = sys::ReadLink(current, isLink, target)) {
            return error;
        }
        if (!isLink) {
            resolved = current;
            return {};
        }
        if (sys::IsAbsolutePath(target) || LastSeparator(current) == std::string::npos) {
            current = target;
        } else {
            const std::string folder = FolderOf(current);
            const bool ends = folder.find_last_of(kPathSeparators) == folder.size() - 1;
            current = ends ? folder + target : folder + kPathSeparators[0] + target;
        }
    }
    return sys::ErrorOf(sys::FileError::Kind::TooManyLinks);
}

bool ReadWholeFile(const std::string& path, std::unique_ptr<std::uint8_t[]>& buffer,
                   std::uint32_t& size, FileAsRead& asRead, std::string& error) {
    FileAsRead found;
    sys::Folder folder;
    sys::OpenFile file;
    sys::FileError failed = FollowLinks(path, found.resolved);
    const std::string name = FinalComponentOf(found.resolved);
    if (!failed && name.empty()) {
        failed = sys::ErrorOf(sys::FileError::Kind::IsFolder);  // "folder/" names no file
    }
    if (!failed && !(failed = sys::Folder::Open(FolderOf(found.resolved), folder)) &&
        !(failed = folder.Stamp(found.folder)) && !(failed = folder.OpenToRead(name, file))) {
        // Taken before the bytes are read: a change while they are read shows later.
        failed = file.Stamp(found.file);
    }
    if (failed) {
        error = failed.text;
        return false;
    }
    if (found.file.type == sys::FileStamp::Type::Folder) {
        error = sys::ErrorOf(sys::FileError::Kind::IsFolder).text;
        return false;
    }
    if (found.file.type != sys::FileStamp::Type::File) {
        error = "Not a regular file";
        return false;
    }
    if (found.file.size > std::numeric_limits<std::uint32_t>::max()) {
        error = "The file is too large (4 GiB or more)";
        return false;
    }
    const auto length = static_cast<std::size_t>(found.file.size);
    // One buffer for the file and the zero byte after it; the bytes are read straight into it.
    std::unique_ptr<std::uint8_t[]> bytes(new (std::nothrow) std::uint8_t[length + 1]);
    if (!bytes) {
        error = "Not enough memory to load the file";
        return false;
    }
    // Read in pieces, each digested while it is still in the processor's cache.
    ContentDigest digest;
    for (std::size_t offset = 0; offset < length;) {
        std::size_t got = 0;
        const std::size_t piece = std::min(kReadPiece, length - offset);
        if (sys::FileError readError = file.ReadAt(offset, bytes.get() + offset, piece, got)) {
            error = readError.text;
            return false;
        }
        if (got == 0) {
            error = "The file became shorter while it was being read";
            return false;
        }
        digest.Add(bytes.get() + offset, got);
        offset += got;
    }
    bytes[length] = 0;
    found.digest = digest.Value();
    buffer = std::move(bytes);
    size = static_cast<std::uint32_t>(length);
    asRead = std::move(found);
    return true;
}

}  // namespace tavlo
