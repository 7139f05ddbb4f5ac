#pragma once

#include <string>
#include <vector>

namespace tavlo {

// How long a started program is watched: a program that ends with a failure within this time
// never got going (a terminal editor without a terminal, a browser that cannot open a display);
// one still running then is taken to be working.
inline constexpr int kStartWatchMilliseconds = 1000;

// Starts the program file `executable` with `argv` (argv[0] is the name it is called by) as a
// process of its own that outlives Tavlo, with standard input from /dev/null, and watches it
// for kStartWatchMilliseconds. Returns 0 when it is still running then or has
// ended with status 0; the system's error number when it could not be started (ENOENT, EACCES,
// ENOEXEC, ...); its exit status when it ended with another status; 128 plus the signal number
// when a signal ended it (the shell's convention).
int StartWatched(const std::string& executable, const std::vector<std::string>& argv);

}  // namespace tavlo
