// Writes the program's version resource for a version given as "major.minor.patch.tweak": as the
// resource's bytes (the Linux build carries them), or with --script as the VERSIONINFO statement
// of a resource script (the Windows build's windres compiles it). Both from one content.
// Usage: make_version_resource [--script] 1.0.3.0 OUTPUT
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

}  // namespace

int main(int argc, char** argv) {
    const bool script = argc > 1 && std::strcmp(argv[1], "--script") == 0;
    const int first = script ? 2 : 1;
    std::array<std::uint16_t, 4> version{};
    if (argc != first + 2 || !ParseVersion(argv[first], version)) {
        std::fprintf(stderr,
                     "usage: make_version_resource [--script] MAJOR.MINOR.PATCH.TWEAK OUTPUT\n");
        return 2;
    }
    const tavlo::VersionResourceContent content = tavlo::ProgramVersionContent(version);
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
