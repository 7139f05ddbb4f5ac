#include "cli/container_records.h"

#include <cstring>

namespace tavlo::cli {

namespace {

constexpr std::uint32_t kHeaderSize = 6;        // "KpGr" and the version
constexpr std::uint32_t kRecordHeaderSize = 5;  // size and type letter

std::uint32_t ReadLittleEndian(const std::uint8_t* p, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | p[i];
    }
    return value;
}

}  // namespace

std::optional<Container> ReadContainer(const std::uint8_t* data, std::uint32_t length) {
    if (length < kHeaderSize || std::memcmp(data, "KpGr", 4) != 0) {
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

}  // namespace tavlo::cli
