#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tavlo {

// The firmware update container: "KpGr", a 16-bit format version, then records to the end of
// the file, each a 32-bit payload size, a type letter and the payload (little-endian).
inline constexpr char kContainerMagic[] = "KpGr";
inline constexpr std::uint16_t kContainerVersion = 100;
inline constexpr char kRecordData = 'D';         // version information
inline constexpr char kRecordRegion = 'R';       // the receiver's software region
inline constexpr char kRecordApplication = 'A';  // the start-up code

struct ContainerRecord {
    std::uint32_t offset;  // of the record's size field
    char type;
    std::uint32_t size;  // of the payload
};

struct Container {
    std::uint16_t version = 0;
    std::vector<ContainerRecord> records;
    bool truncated = false;         // a record runs past the end of the file
    std::uint32_t truncatedAt = 0;  // where that record starts
};

// The container's records, or nullopt when the bytes do not start with "KpGr".
std::optional<Container> ReadContainer(const std::uint8_t* data, std::uint32_t length);

// Writing a container: its header, then each record appended in turn.
std::vector<std::uint8_t> StartContainer(std::uint16_t version = kContainerVersion);
void AppendRecord(std::vector<std::uint8_t>& file, char type,
                  std::span<const std::uint8_t> payload);

}  // namespace tavlo
