#pragma once

#include <string>
#include <vector>

namespace tavlo::test {

struct ProcessResult {
    int exitCode = -1;  // -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// Runs a program with arguments (argv[0] is `program`), waits for it and collects its standard
// output and error. `env` entries ("NAME=value") are set on top of the current environment.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env = {});

}  // namespace tavlo::test
