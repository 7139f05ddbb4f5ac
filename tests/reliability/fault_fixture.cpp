#include "fault_fixture.h"

#include <sys/mount.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fstream>

namespace tavlo::test {

namespace fs = std::filesystem;

std::string FirmwareBytes(std::size_t size, std::size_t messageOffset) {
    std::string bytes(size, '\0');
    // A fixed pseudo-random sequence (xorshift) of 7-bit bytes without any 'W', so the message
    // is the only place the search text occurs.
    std::uint32_t state = 2463534242u;
    for (char& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<char>(state & 0x7F);
        if (byte == 'W') {
            byte = 'w';
        }
    }
    bytes.replace(messageOffset, kMessage.size(), kMessage);
    bytes[messageOffset + kMessage.size()] = '\0';
    return bytes;
}

std::string PatchedBytes(std::string bytes, std::string_view text, std::size_t messageOffset) {
    bytes.replace(messageOffset, kMessage.size(), FitToLength(text, kMessage.size()));
    return bytes;
}

std::vector<std::string> TemporaryNames(const fs::path& folder) {
    std::vector<std::string> names = Names(folder);
    std::erase_if(
        names, [](const std::string& name) { return name.find(".tavlo-") == std::string::npos; });
    return names;
}

MountedFolder::MountedFolder(const TempDir& parent, std::string_view name, std::size_t bytes)
    : path_(parent.File(name)), options_("size=" + std::to_string(bytes) + ",mode=0755") {
    std::error_code ignored;
    fs::create_directory(path_, ignored);
    mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", 0, options_.c_str()) == 0;
}

MountedFolder::~MountedFolder() {
    if (mounted_) {
        ::umount2(path_.c_str(), MNT_DETACH);
    }
}

bool MountedFolder::SetReadOnly(bool readOnly) {
    const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
    return ::mount("tmpfs", path_.c_str(), "tmpfs", flags, options_.c_str()) == 0;
}

std::size_t MountedFolder::Fill(std::string_view name) {
    std::ofstream out(File(name), std::ios::binary);
    const std::string block(4096, 'x');
    std::size_t written = 0;
    // Whole blocks while they fit, then single bytes up to the very last one.
    while (out.write(block.data(), static_cast<std::streamsize>(block.size())) && out.flush()) {
        written += block.size();
    }
    out.clear();
    out.close();
    fs::resize_file(File(name), written);
    std::ofstream tail(File(name), std::ios::binary | std::ios::app);
    while (tail.put('x') && tail.flush()) {
        ++written;
    }
    return written;
}

void LoadAndPatch(FirmwareImage& image, const std::string& path) {
    ASSERT_TRUE(image.Load(path)) << image.LastError();
    ASSERT_TRUE(image.LocateMessage(kSearchText));
    ASSERT_EQ(image.MessageLength(), kMessage.size());
    image.ReplaceMessage(kOwnerText);
}

}  // namespace tavlo::test
