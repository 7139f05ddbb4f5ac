#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tavlo::cli {

// The command line of tavlo-cli, already converted to Windows-1252 where it holds texts.
// Options may stand before or after the file name.
struct CliArguments {
    std::string command;                    // find, patch, settings, preview, info
    std::string file;                       // the firmware file (not for settings)
    std::optional<std::string> search;      // --search TEXT
    int match = 1;                          // --match N, 1-based
    std::optional<std::string> text;        // --text TEXT
    std::optional<std::string> textFile;    // --text-file PATH
    std::optional<std::string> settings;    // --settings PATH
    std::optional<std::string> getSection;  // --get SECTION KEY
    std::optional<std::string> getKey;
    std::optional<std::string> out;  // --out PNG
    std::optional<int> magX;         // --mag X Y
    std::optional<int> magY;
    bool noBackup = false;  // --no-backup
    bool dryRun = false;    // --dry-run
    bool help = false;      // --help, -h
    bool version = false;   // --version
};

struct ParseResult {
    CliArguments arguments;
    std::string error;  // not empty: a usage error, in UTF-8
};

// Parses argv[1..]. Texts (search, text, section, key) are converted from UTF-8 to
// Windows-1252; a character the code page cannot hold is a usage error that names it.
ParseResult ParseArguments(const std::vector<std::string>& args);

// The help text, UTF-8.
const char* UsageText();

}  // namespace tavlo::cli
