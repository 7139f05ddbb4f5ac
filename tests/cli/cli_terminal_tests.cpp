// Names and texts that would steer a terminal or forge a line of output reach it escaped.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/cli_test_support.h"

namespace tavlo::test {
namespace {

using namespace std::string_literals;

// Sets the terminal's title, clears the screen and starts a line of its own.
const std::string kHostile = "\x1B]0;owned\x07\x1B[2J\nforged: yes";
const std::string kEscaped = "\\x1B]0;owned\\x07\\x1B[2J\\nforged: yes";

// Whether the output holds a byte a terminal acts on, other than the ends of its lines and the
// tabs between its columns.
bool HoldsControlBytes(const std::string& output) {
    for (const char c : output) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\n' && byte != '\t') || byte == 0x7F) {
            return true;
        }
    }
    return false;
}

bool HasLineStartingWith(const std::string& output, const std::string& start) {
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(start, 0) == 0) {
            return true;
        }
    }
    return false;
}

TEST(CliTerminal, NamesAndTextsArePrintedEscaped) {
    TempDir dir;
    const std::string firmware = dir.File("unit.rgn");
    WriteFile(firmware, "\0"s + kHostile + " message\0\0"s);
    const std::string hostileName = dir.File(kHostile);
    struct Row {
        const char* rule;
        std::vector<std::string> args;
        int exitCode;
    };
    std::vector<Row> rows = {
        {"a firmware file that cannot be read", {"find", hostileName + ".none"}, 3},
        {"a settings file that cannot be read", {"find", firmware, "--settings", hostileName}, 3},
        {"a text file that cannot be read", {"patch", firmware, "--text-file", hostileName}, 3},
        {"the search text past the last match",
         {"patch", firmware, "--search", kHostile, "--match", "2"},
         1},
        {"an unexpected argument", {"find", firmware, kHostile}, 2},
    };
#ifndef _WIN32  // Windows allows no control character in a file name
    WriteFile(hostileName + ".rgn", "\0WARNING\0\0"s);
    WriteFile(hostileName + ".bak", "\0WARNING\0\0"s);
    rows.push_back({"the backup's name", {"patch", hostileName + ".rgn", "--text", "A"}, 0});
    // A file named like its backup is not saved.
    rows.push_back({"a file left as it was", {"patch", hostileName + ".bak", "--text", "A"}, 3});
#endif
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        const ProcessResult r = RunCli(row.args);
        EXPECT_EQ(r.exitCode, row.exitCode) << r.err;
        const std::string output = r.out + r.err;
        EXPECT_NE(output.find(kEscaped), std::string::npos) << output;
        EXPECT_FALSE(HoldsControlBytes(output)) << output;
        EXPECT_FALSE(HasLineStartingWith(output, "forged")) << output;
    }
}

}  // namespace
}  // namespace tavlo::test
