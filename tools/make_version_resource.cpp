// Writes the program's version resource for a version given as "major.minor.patch.tweak".
// Usage: make_version_resource 1.0.3.0 out/version.res
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "core/version_resource_writer.h"

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
    std::array<std::uint16_t, 4> version{};
    if (argc != 3 || !ParseVersion(argv[1], version)) {
        std::fprintf(stderr, "usage: make_version_resource MAJOR.MINOR.PATCH.TWEAK OUTPUT\n");
        return 2;
    }
    const std::vector<std::uint8_t> bytes =
        tavlo::WriteVersionResource(tavlo::ProgramVersionContent(version));
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_version_resource: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
