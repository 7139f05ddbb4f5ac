#include "tools/output_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>

namespace tavlo::tools {

bool WriteOutputFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) {
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
    }
    if (!out) {
        std::cerr << "cannot write " << path << ": " << std::strerror(errno) << "\n";
        return false;
    }
    return true;
}

}  // namespace tavlo::tools
