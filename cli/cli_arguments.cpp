#include "cli/cli_arguments.h"

#include <charconv>
#include <limits>
#include <set>

#include "core/windows1252.h"
#include "settings/startup_values.h"

namespace tavlo::cli {

namespace {

// Which options each command takes.
const std::set<std::string>& OptionsOf(const std::string& command) {
    static const std::set<std::string> kFind = {"--search", "--settings"};
    static const std::set<std::string> kPatch = {
        "--search", "--match", "--text", "--text-file", "--no-backup", "--dry-run", "--settings"};
    static const std::set<std::string> kSettings = {"--settings", "--get"};
    static const std::set<std::string> kPreview = {"--search", "--match", "--text",
                                                   "--mag",    "--out",   "--settings"};
    static const std::set<std::string> kInfo = {"--settings"};
    static const std::set<std::string> kNone = {};
    if (command == "find")
        return kFind;
    if (command == "patch")
        return kPatch;
    if (command == "settings")
        return kSettings;
    if (command == "preview")
        return kPreview;
    if (command == "info")
        return kInfo;
    return kNone;
}

const std::set<std::string> kAllOptions = {"--search",    "--match",  "--text", "--text-file",
                                           "--settings",  "--get",    "--out",  "--mag",
                                           "--no-backup", "--dry-run"};

// A whole decimal number within [min, max], or nullopt.
std::optional<int> ParseNumber(const std::string& text, int min, int max) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

class Parser {
public:
    explicit Parser(const std::vector<std::string>& args) : args_(args) {}

    ParseResult Run() {
        ParseResult result;
        CliArguments& a = result.arguments;
        std::vector<std::string> positional;
        std::vector<std::string> given;  // the options, checked against the command at the end
        bool optionsEnded = false;
        for (index_ = 0; index_ < args_.size() && error_.empty(); ++index_) {
            const std::string& arg = args_[index_];
            if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
                positional.push_back(arg);
            } else if (arg == "--") {
                optionsEnded = true;
            } else if (arg == "--help" || arg == "-h") {
                a.help = true;
            } else if (arg == "--version") {
                a.version = true;
            } else if (kAllOptions.count(arg) == 0) {
                error_ = "unknown option '" + arg + "'";
            } else {
                given.push_back(arg);
                ReadOption(arg, a);
            }
        }
        if (error_.empty() && !a.help && !a.version) {
            CheckPositional(positional, a);
        }
        for (const std::string& option : given) {
            if (error_.empty() && !a.help && !a.version &&
                OptionsOf(a.command).count(option) == 0) {
                error_ = "'" + option + "' is not an option of '" + a.command + "'";
            }
        }
        if (error_.empty() && a.text && a.textFile) {
            error_ = "--text and --text-file cannot be used together";
        }
        if (error_.empty() && a.command == "preview" && !a.help && !a.version && !a.out) {
            error_ = "preview needs --out PNG";
        }
        result.error = error_;
        return result;
    }

private:
    // The next argument, as the value of `option`.
    std::optional<std::string> Value(const std::string& option) {
        if (index_ + 1 >= args_.size()) {
            error_ = option + " needs a value";
            return std::nullopt;
        }
        return args_[++index_];
    }

    // The next argument as a text of the program (Windows-1252).
    std::optional<std::string> TextValue(const std::string& option) {
        auto value = Value(option);
        if (!value) {
            return std::nullopt;
        }
        Utf8Conversion converted = Utf8ToWindows1252(*value);
        if (converted.invalidUtf8) {
            error_ = "the value of " + option + " is not valid UTF-8";
            return std::nullopt;
        }
        if (!converted.ok) {
            // Name the character as the user typed it and by its code point.
            const char32_t cp = converted.unrepresentable;
            error_ = "the character '" + CodePointToUtf8(cp) + "' (" + CodePointName(cp) + ") in " +
                     option + " cannot be written in the receiver's character set (Windows-1252)";
            return std::nullopt;
        }
        return converted.text;
    }

    std::optional<int> NumberValue(const std::string& option, int min, int max) {
        auto value = Value(option);
        if (!value) {
            return std::nullopt;
        }
        auto number = ParseNumber(*value, min, max);
        if (!number) {
            error_ = option + " needs a whole number from " + std::to_string(min) + " to " +
                     std::to_string(max) + ", not '" + *value + "'";
        }
        return number;
    }

    void ReadOption(const std::string& option, CliArguments& a) {
        if (option == "--search") {
            a.search = TextValue(option);
        } else if (option == "--text") {
            a.text = TextValue(option);
        } else if (option == "--match") {
            a.match = NumberValue(option, 1, 1'000'000'000).value_or(1);
        } else if (option == "--text-file") {
            a.textFile = Value(option);
        } else if (option == "--settings") {
            a.settings = Value(option);
        } else if (option == "--out") {
            a.out = Value(option);
        } else if (option == "--get") {
            a.getSection = TextValue(option);
            if (error_.empty()) {
                a.getKey = TextValue(option);
            }
        } else if (option == "--mag") {
            // "--mag N" magnifies both ways alike; "--mag X Y" each its own.
            a.magX = NumberValue(option, kMinMagnification, kMaxMagnification);
            a.magY = a.magX;
            if (error_.empty() && index_ + 1 < args_.size() &&
                ParseNumber(args_[index_ + 1], std::numeric_limits<int>::min(),
                            std::numeric_limits<int>::max())) {
                a.magY = NumberValue(option, kMinMagnification, kMaxMagnification);
            }
        } else if (option == "--no-backup") {
            a.noBackup = true;
        } else if (option == "--dry-run") {
            a.dryRun = true;
        }
    }

    void CheckPositional(const std::vector<std::string>& positional, CliArguments& a) {
        if (positional.empty()) {
            error_ = "no command given";
            return;
        }
        a.command = positional[0];
        static const std::set<std::string> kCommands = {"find", "patch", "settings", "preview",
                                                        "info"};
        if (kCommands.count(a.command) == 0) {
            error_ = "unknown command '" + a.command + "'";
            return;
        }
        const std::size_t wanted = a.command == "settings" ? 1 : 2;
        if (positional.size() < wanted) {
            error_ = a.command + " needs a firmware file";
        } else if (positional.size() > wanted) {
            error_ = "unexpected argument '" + positional[wanted] + "'";
        } else if (wanted == 2) {
            a.file = positional[1];
        }
    }

    const std::vector<std::string>& args_;
    std::size_t index_ = 0;
    std::string error_;
};

}  // namespace

ParseResult ParseArguments(const std::vector<std::string>& args) {
    return Parser(args).Run();
}

const char* UsageText() {
    return "Usage: tavlo-cli COMMAND [FILE] [OPTIONS]\n"
           "       tavlo-cli --help | --version\n"
           "Personalises the power-on message of a GPS receiver's firmware file (.rgn).\n"
           "Options may stand before or after the file name.\n"
           "\n"
           "Commands:\n"
           "  find FILE [--search TEXT]\n"
           "      List every message that starts with TEXT: offset, length, message\n"
           "      (its first 1024 bytes, then \"...\" when it is longer).\n"
           "  patch FILE [--search TEXT] [--match N] [--text TEXT | --text-file PATH]\n"
           "             [--no-backup] [--dry-run]\n"
           "      Overwrite the N-th message (default 1) with TEXT (default: the owner\n"
           "      lines of the settings), padded or cut to the message's length, and save\n"
           "      the file with a .bak backup of the old one (its name is printed).\n"
           "      Warns when the text was cut, or when the receiver will not show all of it.\n"
           "  preview FILE [--search TEXT] [--match N] [--text TEXT] [--mag X [Y]] --out PNG\n"
           "      Draw the receiver's screen with the new text into a PNG picture,\n"
           "      magnified X times across and Y times down (1 to 64; Y defaults to X;\n"
           "      without --mag, the settings' MagX and MagY). Warns when the receiver\n"
           "      will not show all of the text.\n"
           "  info FILE\n"
           "      Show what the file holds, one item a line:\n"
           "        size: BYTES\n"
           "        font: OFFSET of the receiver's font (or \"not found\")\n"
           "        container: KpGr VERSION, COUNT records (or \"none\": not a firmware\n"
           "                   update container)\n"
           "        record: OFFSET TYPE SIZE in bytes (TYPE D version data, R software)\n"
           "        word: WORD COUNT [first at OFFSET]  (the matches of each search word)\n"
           "  settings [--get SECTION KEY]\n"
           "      Show the start-up values, or the stored value of one key.\n"
           "\n"
           "Every command but info takes --settings PATH to read that settings file\n"
           "instead of the desktop program's (tavlo.cfg beside it, else\n"
#ifdef _WIN32
           "%APPDATA%\\Tavlo\\tavlo.cfg).\n"
#else
           "~/.config/tavlo/tavlo.cfg; see tavlo-cli(1)).\n"
#endif
           "\n"
           "Exit status: 0 success, 1 not found, 2 usage error, 3 a file could not be\n"
           "read or written.\n";
}

}  // namespace tavlo::cli
