#pragma once

#include <string>
#include <vector>

namespace tavlo::cli {

// The program's arguments as the system gives them, with file names in the program's
// file-system encoding (UTF-8). On Windows they are read as UTF-16 from the command line and
// converted here, and the standard streams are made to pass bytes through unchanged.
std::vector<std::string> NativeArguments(int argc, char** argv);

}  // namespace tavlo::cli
