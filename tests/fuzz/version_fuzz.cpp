// The version resource reader over arbitrary bytes.
//
// The input is split into one extra query path and the resource's bytes, which a stand-in for
// the platform's version interface hands to VersionInfo in a block of exactly their size, so
// AddressSanitizer sees every read past it. Every value found lies inside the block, the status
// and its message agree with what the block holds, and the texts follow the status: the error
// text without a resource, a text or "N.A." with one.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/version_info.h"
#include "core/version_resource.h"
#include "fuzz_support.h"

namespace {

constexpr char kProgramFile[] = "/opt/tavlo/tavlo";

// The platform's version interface over the fuzz input: the running program's file has it as
// its version resource; any other file has none.
class InputSource : public tavlo::VersionResourceSource {
public:
    explicit InputSource(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    std::uint32_t GetFileVersionInfoSize(const std::string& fileName) override {
        return fileName == kProgramFile ? static_cast<std::uint32_t>(bytes_.size()) : 0;
    }

    bool GetFileVersionInfo(const std::string& fileName, std::uint32_t size,
                            std::uint8_t* block) override {
        if (fileName != kProgramFile || size != bytes_.size()) {
            return false;
        }
        std::memcpy(block, bytes_.data(), size);
        return true;
    }

    std::string GetModuleFileName() override { return kProgramFile; }

private:
    const std::vector<std::uint8_t>& bytes_;
};

// A value found must lie wholly inside the block.
void CheckQuery(std::span<const std::uint8_t> block, std::string_view path) {
    const auto value = tavlo::VerQueryValue(block, path);
    if (value && !value->bytes.empty()) {
        FUZZ_CHECK(value->bytes.data() >= block.data());
        FUZZ_CHECK(value->bytes.data() + value->bytes.size() <= block.data() + block.size());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::string extraPath = provider.ConsumeRandomLengthString(80);
    const std::vector<std::uint8_t> bytes = provider.ConsumeRemainingBytes<std::uint8_t>();

    // The queries straight on a block of exactly the input's size.
    {
        const std::vector<std::uint8_t> block(bytes);
        for (const std::string_view path :
             {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\040904B0\\ProductVersion",
              "\\StringFileInfo\\040904b0\\productversion", "\\\\\\", ""}) {
            CheckQuery(block, path);
        }
        CheckQuery(block, extraPath);
    }

    InputSource source(bytes);
    const tavlo::VersionInfo info(source);
    const auto translation = tavlo::VerQueryValue(bytes, "\\VarFileInfo\\Translation");
    std::int32_t expectedStatus = tavlo::VersionInfo::NoError;
    const char* expectedMessage = "No Error";
    if (bytes.empty()) {
        expectedStatus = tavlo::VersionInfo::SizeFailed;
        expectedMessage = "GetFileVersionInfoSize failed";
    } else if (!translation || translation->bytes.size() < 4) {
        expectedStatus = tavlo::VersionInfo::NoTranslation;
        expectedMessage = "Failed to get translation array";
    }
    FUZZ_CHECK(info.GetStatus() == expectedStatus);
    FUZZ_CHECK(std::string_view(info.GetMessage()) == expectedMessage);

    for (const std::string_view name :
         {std::string_view("ProductVersion"), std::string_view("FileVersion"),
          std::string_view("CompanyName"), std::string_view(extraPath)}) {
        const std::string text = info.GetString(name);
        if (expectedStatus != tavlo::VersionInfo::NoError) {
            FUZZ_CHECK(text == "*** ERROR ***");
            continue;
        }
        // The first translation pair names the string table; "N.A." when the text is not there,
        // else at most one character for each UTF-16 unit of the value.
        const unsigned language = translation->bytes[0] | (translation->bytes[1] << 8);
        const unsigned codePage = translation->bytes[2] | (translation->bytes[3] << 8);
        char path[260];
        std::snprintf(path, sizeof path, "\\StringFileInfo\\%04X%04X\\%.*s", language, codePage,
                      static_cast<int>(name.size()), name.data());
        const auto value = tavlo::VerQueryValue(bytes, path);
        if (!value) {
            FUZZ_CHECK(text == "N.A.");
        } else {
            FUZZ_CHECK(text.size() <= value->bytes.size() / 2);
            FUZZ_CHECK(text.find('\0') == std::string::npos);
        }
    }
    return 0;
}
