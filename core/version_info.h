#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tavlo {

class VersionResourceSource;

// Reads a file's version resource and answers its texts, with a status code and message saying
// how the read went. Error texts travel as the texts themselves: "*** ERROR ***" when there is
// no resource, "N.A." when the resource lacks the text asked for.
class VersionInfo {
public:
    enum Status : std::int32_t {
        NoError = 0,
        NotInitialized = 1,
        SizeFailed = 2,
        OutOfMemory = 3,
        RetrieveFailed = 4,
        NoTranslation = 5,
    };

    // Resets, then loads the running program's own resource.
    VersionInfo();
    // The same over another source of resources (the tests').
    explicit VersionInfo(VersionResourceSource& source);
    VersionInfo(const VersionInfo&) = delete;
    VersionInfo& operator=(const VersionInfo&) = delete;
    ~VersionInfo();

    // Releases the block (unless `initial`, when there is none yet) and returns to status 1.
    void Reset(bool initial);

    // Reads the named file's version resource. True when the status is 0 afterwards.
    bool Load(const std::string& fileName);

    // Load for the running program's own file (the only module there is).
    bool LoadModule();

    // The text `name` of the first translation's string table; "N.A." when the resource has no
    // such text, "*** ERROR ***" when no resource was loaded.
    std::string GetString(std::string_view name) const;

    std::int32_t GetStatus() const { return status_; }
    const char* GetMessage() const { return message_; }

private:
    void SetStatus(Status status);

    VersionResourceSource* source_;
    const char* message_ = nullptr;
    std::int32_t status_ = NotInitialized;
    std::unique_ptr<std::uint8_t[]> data_;
    std::uint32_t size_ = 0;
    // The first language / code page pair of the translation array, read from the block.
    std::uint16_t language_ = 0;
    std::uint16_t codePage_ = 0;
};

// The product version text of the running program, read once per process and kept.
std::string GetProductVersion();

}  // namespace tavlo
