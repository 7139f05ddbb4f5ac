#include "tools/version_script.h"

#include <cstdio>

namespace tavlo {

namespace {

std::string Numbers(const std::array<std::uint16_t, 4>& version) {
    return std::to_string(version[0]) + "," + std::to_string(version[1]) + "," +
           std::to_string(version[2]) + "," + std::to_string(version[3]);
}

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

// A resource script's string: a quote is written twice, a backslash escaped.
std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') {
            quoted += "\"\"";
        } else if (c == '\\') {
            quoted += "\\\\";
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

}  // namespace

std::string WriteVersionScript(const VersionResourceContent& content) {
    std::string out;
    out += "FILEVERSION " + Numbers(content.fileVersion) + "\n";
    out += "PRODUCTVERSION " + Numbers(content.productVersion) + "\n";
    out += "FILEFLAGSMASK " + Hex(content.fileFlagsMask) + "\n";
    out += "FILEFLAGS " + Hex(content.fileFlags) + "\n";
    out += "FILEOS " + Hex(content.fileOs) + "\n";
    out += "FILETYPE " + Hex(content.fileType) + "\n";
    out += "FILESUBTYPE " + Hex(content.fileSubtype) + "\n";
    out += "BEGIN\n";
    if (!content.stringTables.empty()) {
        out += "    BLOCK \"StringFileInfo\"\n    BEGIN\n";
        for (const VersionStringTable& table : content.stringTables) {
            out += "        BLOCK " + Quoted(table.blockName) + "\n        BEGIN\n";
            for (const auto& [key, value] : table.strings) {
                out += "            VALUE " + Quoted(key) + ", " + Quoted(value) + "\n";
            }
            out += "        END\n";
        }
        out += "    END\n";
    }
    if (!content.translations.empty()) {
        out += "    BLOCK \"VarFileInfo\"\n    BEGIN\n        VALUE \"Translation\"";
        for (const auto& [language, codePage] : content.translations) {
            out += ", " + Hex(language) + ", " + std::to_string(codePage);
        }
        out += "\n    END\n";
    }
    out += "END\n";
    return out;
}

}  // namespace tavlo
