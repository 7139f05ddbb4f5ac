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
// With a time limit, a program still running after that many seconds is ended (exitCode -1),
// so a program that hangs fails its test instead of holding up the suite.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env = {}, unsigned timeLimitSeconds = 0);

}  // namespace tavlo::test
