#include "core/version_resource_writer.h"

#include <cstddef>

namespace tavlo {

namespace {

constexpr std::uint16_t kBinary = 0;
constexpr std::uint16_t kText = 1;
constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BD;
constexpr std::uint32_t kFixedInfoVersion = 0x00010000;

class NodeWriter {
public:
    std::vector<std::uint8_t> bytes;

    // Starts a node; returns its offset, for End.
    std::size_t Begin(const std::string& key, std::uint16_t valueLength, std::uint16_t type) {
        Align();
        const std::size_t start = bytes.size();
        Word(0);  // length, set by End
        Word(valueLength);
        Word(type);
        for (const char c : key) {
            Word(static_cast<unsigned char>(c));
        }
        Word(0);
        Align();
        return start;
    }

    void End(std::size_t start) {
        const std::size_t length = bytes.size() - start;
        bytes[start] = static_cast<std::uint8_t>(length & 0xFF);
        bytes[start + 1] = static_cast<std::uint8_t>(length >> 8);
    }

    void Word(std::uint16_t value) {
        bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }

    void DoubleWord(std::uint32_t value) {
        Word(static_cast<std::uint16_t>(value & 0xFFFF));
        Word(static_cast<std::uint16_t>(value >> 16));
    }

    void Align() {
        while (bytes.size() % 4 != 0) {
            bytes.push_back(0);
        }
    }
};

std::uint32_t High(const std::array<std::uint16_t, 4>& v) {
    return (std::uint32_t{v[0]} << 16) | v[1];
}
std::uint32_t Low(const std::array<std::uint16_t, 4>& v) {
    return (std::uint32_t{v[2]} << 16) | v[3];
}

void WriteFixedInfo(NodeWriter& out, const VersionResourceContent& content) {
    out.DoubleWord(kFixedInfoSignature);
    out.DoubleWord(kFixedInfoVersion);
    out.DoubleWord(High(content.fileVersion));
    out.DoubleWord(Low(content.fileVersion));
    out.DoubleWord(High(content.productVersion));
    out.DoubleWord(Low(content.productVersion));
    out.DoubleWord(content.fileFlagsMask);
    out.DoubleWord(content.fileFlags);
    out.DoubleWord(content.fileOs);
    out.DoubleWord(content.fileType);
    out.DoubleWord(content.fileSubtype);
    out.DoubleWord(0);  // file date, high and low
    out.DoubleWord(0);
}

constexpr std::uint16_t kFixedInfoSize = 13 * 4;

void WriteString(NodeWriter& out, const std::string& key, const std::string& value) {
    // A text value's length counts UTF-16 units, its terminating zero included.
    const std::size_t node = out.Begin(key, static_cast<std::uint16_t>(value.size() + 1), kText);
    for (const char c : value) {
        out.Word(static_cast<unsigned char>(c));
    }
    out.Word(0);
    out.End(node);
}

}  // namespace

std::string VersionText(const std::array<std::uint16_t, 4>& version) {
    return std::to_string(version[0]) + ", " + std::to_string(version[1]) + ", " +
           std::to_string(version[2]) + ", " + std::to_string(version[3]);
}

VersionResourceContent ProgramVersionContent(const std::array<std::uint16_t, 4>& version) {
    VersionResourceContent content;
    content.fileVersion = version;
    content.productVersion = version;
    content.translations = {{0x0409, 1200}};
    const std::string text = VersionText(version);
    content.stringTables = {{"040904b0",
                             {{"Comments", ""},
                              {"CompanyName", ""},
                              {"FileDescription", "Tavlo firmware patcher"},
                              {"FileVersion", text},
                              {"InternalName", "Tavlo"},
                              {"LegalCopyright", "Copyright (C) The Tavlo developers"},
                              {"LegalTrademarks", ""},
                              {"OriginalFilename", "Tavlo.EXE"},
                              {"PrivateBuild", ""},
                              {"ProductName", "Tavlo"},
                              {"ProductVersion", text},
                              {"SpecialBuild", ""}}}};
    return content;
}

std::vector<std::uint8_t> WriteVersionResource(const VersionResourceContent& content) {
    NodeWriter out;
    const std::size_t root = out.Begin("VS_VERSION_INFO", kFixedInfoSize, kBinary);
    WriteFixedInfo(out, content);

    if (!content.stringTables.empty()) {
        const std::size_t stringInfo = out.Begin("StringFileInfo", 0, kText);
        for (const VersionStringTable& table : content.stringTables) {
            const std::size_t block = out.Begin(table.blockName, 0, kText);
            for (const auto& [key, value] : table.strings) {
                WriteString(out, key, value);
            }
            out.End(block);
        }
        out.End(stringInfo);
    }

    if (!content.translations.empty()) {
        const std::size_t varInfo = out.Begin("VarFileInfo", 0, kText);
        const std::size_t var = out.Begin(
            "Translation", static_cast<std::uint16_t>(content.translations.size() * 4), kBinary);
        for (const auto& [language, codePage] : content.translations) {
            out.Word(language);
            out.Word(codePage);
        }
        out.End(var);
        out.End(varInfo);
    }

    out.End(root);
    return out.bytes;
}

}  // namespace tavlo
