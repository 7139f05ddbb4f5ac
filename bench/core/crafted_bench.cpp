// Shows how the real tavlo-cli's time grows on crafted firmware files: each command runs on a
// 1 MiB and a 16 MiB file of the same kind, and the ratio of the two times is printed against
// the limit of 20 (16 times the bytes; linear work stays near 16, quadratic work reaches 256).
// It measures and prints; it asserts nothing. A run that does not end within the time-out is
// stopped and shown as "timed out".
//
// Kinds of file: no zero byte at all (bytes 1-255, a message start every 128 bytes), "WARNING"
// repeated with no zero byte, and "WARNING" followed by a zero byte, repeated.
// Usage: crafted_bench [FOLDER] [TIMEOUT_SECONDS]   (default: a new folder in /tmp, 60 s)
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kSmall = 1u << 20;
constexpr std::size_t kLarge = 16u << 20;
constexpr double kLimit = 20.0;
// Quick runs are repeated and the best time kept; slow ones run once.
constexpr int kRounds = 3;
constexpr double kRepeatBelow = 2.0;  // seconds

struct FileKind {
    const char* name;
    std::size_t period;  // bytes from one match to the next
    std::string (*make)(std::size_t size);
};

std::string Repeated(const std::string& unit, std::size_t size) {
    std::string bytes;
    bytes.reserve(size + unit.size());
    while (bytes.size() < size) {
        bytes += unit;
    }
    bytes.resize(size);
    return bytes;
}

std::string NoZeroByte(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(i * 37 % 255 + 1);
    }
    for (std::size_t at = 0; at + 9 <= size; at += 128) {
        bytes.replace(at, 9, "WARNING: ");
    }
    return bytes;
}

std::string WarningNoZero(std::size_t size) {
    return Repeated("WARNING", size);
}

std::string WarningAndZero(std::size_t size) {
    return Repeated(std::string("WARNING\0", 8), size);
}

const FileKind kKinds[] = {
    {"no zero byte", 128, NoZeroByte},
    {"WARNING, no zero", 7, WarningNoZero},
    {"WARNING\\0", 8, WarningAndZero},
};

// Runs the program with its output thrown away. The wall time in seconds, or nullopt when it
// did not end in time (it is then killed) or did not succeed (`failure` says how).
std::optional<double> TimeRun(const std::vector<std::string>& args, int timeoutSeconds,
                              std::string& failure) {
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const auto start = Clock::now();
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        failure = "could not start";
        return std::nullopt;
    }
    // A descriptor that becomes readable when the child ends, so the wait can have a time-out.
    // (Debian 12's <sys/pidfd.h> declares pidfd_open without C linkage.)
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    pollfd ended{pidfd, POLLIN, 0};
    const bool inTime = pidfd >= 0 && poll(&ended, 1, timeoutSeconds * 1000) == 1;
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!inTime) {
        kill(pid, SIGKILL);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (pidfd >= 0) {
        close(pidfd);
    }
    if (!inTime) {
        failure = "timed out (> " + std::to_string(timeoutSeconds) + " s)";
        return std::nullopt;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        failure = "failed (status " + std::to_string(status) + ")";
        return std::nullopt;
    }
    return seconds;
}

// The best of a few runs, or one run when it is slow.
std::optional<double> BestTime(const std::vector<std::string>& args, int timeoutSeconds,
                               std::string& failure) {
    std::optional<double> best;
    for (int round = 0; round < kRounds; ++round) {
        const std::optional<double> t = TimeRun(args, timeoutSeconds, failure);
        if (!t) {
            return std::nullopt;
        }
        best = std::min(best.value_or(*t), *t);
        if (*t >= kRepeatBelow) {
            break;
        }
    }
    return best;
}

bool WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

// The command's arguments for a file of `size` bytes of `kind`; --match N lies beyond the middle
// of the file's matches.
std::vector<std::string> CommandFor(const std::string& command, const FileKind& kind,
                                    std::size_t size, const fs::path& file, const fs::path& png) {
    const std::string n = std::to_string(size / kind.period * 3 / 4);
    std::vector<std::string> args = {TAVLO_CLI_PATH, command, file.string()};
    if (command == "find") {
        args.insert(args.end(), {"--search", "WARNING"});
    } else if (command == "patch") {
        args.insert(args.end(),
                    {"--search", "WARNING", "--match", n, "--text", "Ann Owner", "--dry-run"});
    } else if (command == "preview") {
        args.insert(args.end(), {"--search", "WARNING", "--match", n, "--text", "Ann Owner",
                                 "--out", png.string()});
    }
    return args;
}

std::string Shown(const std::optional<double>& seconds, const std::string& failure) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f s", seconds.value_or(0));
    return seconds ? text : failure;
}

}  // namespace

int main(int argc, char** argv) {
    fs::path folder;
    if (argc > 1) {
        folder = argv[1];
    } else {
        char pattern[] = "/tmp/tavlo-crafted-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            std::perror("mkdtemp");
            return 1;
        }
        folder = pattern;
    }
    const int timeoutSeconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 60;
    const fs::path png = folder / "x.png";

    std::string failure;
    const fs::path tiny = folder / "tiny.rgn";
    WriteBytes(tiny, std::string("x\0WARNING\0", 10));
    const std::optional<double> startUp =
        BestTime({TAVLO_CLI_PATH, "info", tiny.string()}, timeoutSeconds, failure);
    std::printf("tavlo-cli on crafted files in %s (time-out %d s)\n", folder.c_str(),
                timeoutSeconds);
    std::printf("start-up (info on a 10-byte file): %s, included in every time below\n\n",
                Shown(startUp, failure).c_str());
    std::printf("%-8s %-17s %16s %24s %8s  %s\n", "command", "file kind", "1 MiB", "16 MiB",
                "growth", "(limit 20x)");

    for (const FileKind& kind : kKinds) {
        const fs::path small = folder / "small.rgn";
        const fs::path large = folder / "large.rgn";
        if (!WriteBytes(small, kind.make(kSmall)) || !WriteBytes(large, kind.make(kLarge))) {
            std::fprintf(stderr, "cannot write the files in %s\n", folder.c_str());
            return 1;
        }
        for (const char* command : {"find", "patch", "preview", "info"}) {
            std::string smallFailure;
            std::string largeFailure;
            const auto t1 = BestTime(CommandFor(command, kind, kSmall, small, png), timeoutSeconds,
                                     smallFailure);
            const auto t16 = BestTime(CommandFor(command, kind, kLarge, large, png), timeoutSeconds,
                                      largeFailure);
            std::printf("%-8s %-17s %16s %24s", command, kind.name, Shown(t1, smallFailure).c_str(),
                        Shown(t16, largeFailure).c_str());
            if (t1 && t16) {
                const double growth = *t16 / *t1;
                std::printf(" %7.1fx  %s\n", growth, growth <= kLimit ? "met" : "MISSED");
            } else {
                std::printf(" %8s  %s\n", "-", "not measured");
            }
            std::fflush(stdout);
        }
    }
    for (const fs::path& file : {tiny, folder / "small.rgn", folder / "large.rgn", png}) {
        fs::remove(file);
    }
    if (argc <= 1) {
        fs::remove(folder);
    }
    return 0;
}
