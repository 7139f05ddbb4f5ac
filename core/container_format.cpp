#include "core/container_format.h"

#include <cstring>

namespace tavlo {

namespace {

constexpr std::uint32_t kMagicSize = 4;
constexpr std::uint32_t kHeaderSize = 6;        // "KpGr" and the version
constexpr std::uint32_t kRecordHeaderSize = 5;  // size and type letter

std::uint32_t ReadLittleEndian(const std::uint8_t* p, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | p[i];
    }
    return value;
}

void AppendLittleEndian(std::vector<std::uint8_t>& file, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        file.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

}  // namespace

std::optional<Container> ReadContainer(const std::uint8_t* data, std::uint32_t length) {
    if (length < kHeaderSize || std::memcmp(data, kContainerMagic, kMagicSize) != 0) {
        return std::nullopt;
    }
    Container container;
    container.version = static_cast<std::uint16_t>(ReadLittleEndian(data + 4, 2));
    std::uint32_t offset = kHeaderSize;
    while (offset < length) {
        const std::uint32_t left = length - offset;
        if (left < kRecordHeaderSize ||
            ReadLittleEndian(data + offset, 4) > left - kRecordHeaderSize) {
            container.truncated = true;
            container.truncatedAt = offset;
            break;
        }
        const std::uint32_t size = ReadLittleEndian(data + offset, 4);
        container.records.push_back({offset, static_cast<char>(data[offset + 4]), size});
        offset += kRecordHeaderSize + size;
    }
    return container;
}

std::vector<std::uint8_t> StartContainer(std::uint16_t version) {
    std::vector<std::uint8_t> file(kContainerMagic, kContainerMagic + kMagicSize);
    AppendLittleEndian(file, version, 2);
    return file;
}

void AppendRecord(std::vector<std::uint8_t>& file, char type,
                  std::span<const std::uint8_t> payload) {
    AppendLittleEndian(file, static_cast<std::uint32_t>(payload.size()), 4);
    file.push_back(static_cast<std::uint8_t>(type));
    file.insert(file.end(), payload.begin(), payload.end());
}

}  // namespace tavlo
