#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Helpers shared by the fuzz targets.
namespace tavlo::fuzz {

// Stops the run with a message when a property does not hold; libFuzzer then saves the input.
#define FUZZ_CHECK(condition)                                           \
    do {                                                                \
        if (!(condition)) {                                             \
            ::tavlo::fuzz::CheckFailed(#condition, __FILE__, __LINE__); \
        }                                                               \
    } while (false)

[[noreturn]] void CheckFailed(const char* condition, const char* file, int line);

// One scratch file per process (in /dev/shm when there is one, so it costs no disk writes).
// The readers under test take a path, so every input is written there first.
class InputFile {
public:
    InputFile();
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Replaces the file's contents with the bytes and returns its path.
    const std::string& Write(const std::uint8_t* data, std::size_t size);
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace tavlo::fuzz
