// Writes the program's version resource for a version given as "major.minor.patch.tweak": as the
// resource's bytes (the Linux build carries them), or with --script as the VERSIONINFO statement
// of a resource script (the Windows build's windres compiles it). Both from one content.
// With --command-line, the resource of tavlo-cli.exe: the same version, its own description and
// file names, so Windows does not show the command-line program as the window.
// Usage: make_version_resource [--script] [--command-line] 1.0.3.0 OUTPUT
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "core/version_resource_writer.h"
#include "tools/version_script.h"

namespace {

bool ParseVersion(const std::string& text, std::array<std::uint16_t, 4>& version) {
    std::istringstream in(text);
    for (std::size_t i = 0; i < version.size(); ++i) {
        unsigned long part = 0;
        if (!(in >> part) || part > 0xFFFF) {
            return false;
        }
        version[i] = static_cast<std::uint16_t>(part);
        if (i + 1 < version.size() && in.get() != '.') {
            return false;
        }
    }
    return in.peek() == std::char_traits<char>::eof();
}

void SetString(tavlo::VersionResourceContent& content, const std::string& key,
               const std::string& value) {
    for (tavlo::VersionStringTable& table : content.stringTables) {
        for (auto& [name, text] : table.strings) {
            if (name == key) {
                text = value;
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    bool script = false;
    bool commandLine = false;
    int first = 1;
    for (; first < argc && argv[first][0] == '-'; ++first) {
        if (std::strcmp(argv[first], "--script") == 0) {
            script = true;
        } else if (std::strcmp(argv[first], "--command-line") == 0) {
            commandLine = true;
        } else {
            break;
        }
    }
    std::array<std::uint16_t, 4> version{};
    if (argc != first + 2 || !ParseVersion(argv[first], version)) {
        std::fprintf(stderr,
                     "usage: make_version_resource [--script] [--command-line] "
                     "MAJOR.MINOR.PATCH.TWEAK OUTPUT\n");
        return 2;
    }
    tavlo::VersionResourceContent content = tavlo::ProgramVersionContent(version);
    if (commandLine) {
        SetString(content, "FileDescription", "Tavlo firmware patcher for the command line");
        SetString(content, "InternalName", "tavlo-cli");
        SetString(content, "OriginalFilename", "tavlo-cli.exe");
    }
    std::string bytes;
    if (script) {
        bytes = tavlo::WriteVersionScript(content);
    } else {
        const std::vector<std::uint8_t> resource = tavlo::WriteVersionResource(content);
        bytes.assign(resource.begin(), resource.end());
    }
    const char* output = argv[first + 1];
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_version_resource: cannot write %s\n", output);
        return 1;
    }
    return 0;
}
