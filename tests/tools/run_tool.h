#pragma once

#include <string>
#include <vector>

namespace tavlo::test {

// Runs a program with arguments (no shell) and returns its exit status, or -1 when it could not
// be started or did not exit normally.
int RunTool(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace tavlo::test
