#pragma once

namespace tavlo::cli {

// tavlo-cli as a whole: parses the command line and runs the command. Returns the exit status.
int RunCli(int argc, char** argv);

}  // namespace tavlo::cli
