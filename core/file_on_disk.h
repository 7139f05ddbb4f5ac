#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/file_system.h"

// A file found by the name the user gave: the links of the name's final component followed to
// the file itself, and what a load saw there, so a save can tell whether it is still the file
// that was read.
namespace tavlo {

// The folder part of a path ("." when it has none) and its final component (empty when the path
// ends in a separator).
std::string FolderOf(const std::string& path);
std::string FinalComponentOf(const std::string& path);

// The path of the file that `path` finally names: symbolic links are followed one by one, a
// relative link counting from the folder of the link that holds it. A chain that ends at a name
// that does not exist (a new file, a dangling link) ends there, so the file is created where
// the links point. TooManyLinks for a chain of more than 40 links.
sys::FileError FollowLinks(const std::string& path, std::string& resolved);

// A digest of a file's contents, fed in pieces whose sizes are multiples of 64 bytes (the last
// one excepted). It tells contents that stayed from contents that changed while their time was
// put back; it is no defence against someone who crafts a collision.
class ContentDigest {
public:
    void Add(const std::uint8_t* bytes, std::size_t count);
    std::uint64_t Value() const;

private:
    static constexpr int kLanes = 8;
    std::uint64_t lanes_[kLanes] = {1, 2, 3, 4, 5, 6, 7, 8};
    std::uint64_t count_ = 0;
};

// What a load saw: where the name led, the file and the folder found there, and the digest of
// the file's contents.
struct FileAsRead {
    std::string resolved;
    sys::FileStamp file;
    sys::FileStamp folder;
    std::uint64_t digest = 0;
};

// Reads a whole regular file of less than 4 GiB into a new buffer of its size and one zero
// byte more. Refuses a folder, anything but a regular file (a pipe would hold the reader up)
// and a larger file. On failure `error` says why in plain words.
bool ReadWholeFile(const std::string& path, std::unique_ptr<std::uint8_t[]>& buffer,
                   std::uint32_t& size, FileAsRead& asRead, std::string& error);

}  // namespace tavlo
