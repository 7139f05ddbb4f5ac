// tavlo-cli find on the small sample firmware against grep -c -a on the same file: for a file
// this small the whole process is what a script pays for. Both commands run side by side,
// alternating, and each is timed by its median.
//   build/default/bin/small_file_bench [ROUNDS]
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Runs the command with its output thrown away; the seconds it took, or -1 when it failed.
double RunOnce(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& word : command) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    int status = 0;
    const bool ran = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0 &&
                     waitpid(child, &status, 0) == child;
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    if (!ran || !WIFEXITED(status) || WEXITSTATUS(status) > 1) {
        return -1;
    }
    return std::chrono::duration<double>(end - start).count();
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 301;
    const std::string sample = TAVLO_SAMPLE_FIRMWARE;
    const std::vector<std::string> find = {TAVLO_CLI_PATH, "find", sample};
    const std::vector<std::string> grep = {"grep", "-c", "-a", "WARNING", sample};
    std::vector<double> findTimes;
    std::vector<double> grepTimes;
    for (int i = 0; i < rounds; ++i) {
        findTimes.push_back(RunOnce(find));
        grepTimes.push_back(RunOnce(grep));
        if (findTimes.back() < 0 || grepTimes.back() < 0) {
            std::fprintf(stderr, "a command failed\n");
            return 1;
        }
    }
    const double ours = Median(findTimes);
    const double theirs = Median(grepTimes);
    const double ratio = ours / theirs;
    std::printf(
        "tavlo-cli find on the %ju-byte sample: median %.2f ms vs grep -c -a %.2f ms over "
        "%d rounds, ratio %.2f (target <= 1.50: %s)\n",
        static_cast<std::uintmax_t>(std::filesystem::file_size(sample)), ours * 1e3, theirs * 1e3,
        rounds, ratio, ratio <= 1.5 ? "met" : "MISSED");
    return 0;
}
