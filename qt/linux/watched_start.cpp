#include "qt/linux/watched_start.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <ctime>

namespace tavlo {

namespace {

// What the watching process tells Tavlo.
struct WatchReport {
    int result = 0;
};

void WriteReport(int fd, int result) {
    const WatchReport report{result};
    // A short write cannot happen for a few bytes into an empty pipe.
    [[maybe_unused]] const ssize_t written = ::write(fd, &report, sizeof report);
}

long MillisecondsSince(const timespec& start) {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return (now.tv_sec - start.tv_sec) * 1000L + (now.tv_nsec - start.tv_nsec) / 1'000'000L;
}

// The program itself: runs in the grandchild, after fork(), so only calls that are safe there.
[[noreturn]] void RunProgram(const char* executable, char* const* argv, int execFailureFd) {
    const int devNull = ::open("/dev/null", O_RDONLY);
    if (devNull >= 0) {
        ::dup2(devNull, STDIN_FILENO);
        ::close(devNull);
    }
    // Tavlo ignores these for itself; the program gets the usual behaviour.
    ::signal(SIGXFSZ, SIG_DFL);
    ::signal(SIGPIPE, SIG_DFL);
    ::execv(executable, argv);
    const int error = errno;
    [[maybe_unused]] const ssize_t written = ::write(execFailureFd, &error, sizeof error);
    ::_exit(127);
}

// The watcher between Tavlo and the program: starts it, sees whether exec worked and whether
// the program ends within the watch, reports, and ends. The program is then nobody's child
// but init's, which collects it whenever it ends, so Tavlo never waits for it.
[[noreturn]] void Watch(const char* executable, char* const* argv, int reportFd) {
    ::setsid();  // not in Tavlo's session: closing Tavlo's terminal does not end the program
    int execPipe[2];
    if (::pipe2(execPipe, O_CLOEXEC) != 0) {
        WriteReport(reportFd, errno);
        ::_exit(0);
    }
    const pid_t program = ::fork();
    if (program < 0) {
        WriteReport(reportFd, errno);
        ::_exit(0);
    }
    if (program == 0) {
        ::close(execPipe[0]);
        ::close(reportFd);
        RunProgram(executable, argv, execPipe[1]);
    }
    ::close(execPipe[1]);
    // The pipe closes without a word when exec succeeds (close-on-exec).
    int execError = 0;
    ssize_t got;
    do {
        got = ::read(execPipe[0], &execError, sizeof execError);
    } while (got < 0 && errno == EINTR);
    if (got == sizeof execError) {
        WriteReport(reportFd, execError);
        ::_exit(0);
    }
    timespec start{};
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    int status = 0;
    while (MillisecondsSince(start) < kStartWatchMilliseconds) {
        if (::waitpid(program, &status, WNOHANG) == program) {
            const int result = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            WriteReport(reportFd, result);
            ::_exit(0);
        }
        const timespec pause{0, 10'000'000};  // 10 ms
        ::nanosleep(&pause, nullptr);
    }
    WriteReport(reportFd, 0);
    ::_exit(0);
}

}  // namespace

int StartWatched(const std::string& executable, const std::vector<std::string>& argv) {
    if (argv.empty()) {
        return ENOENT;
    }
    // Everything the child processes need is made before fork(): after it, a process of a
    // program with threads may only make async-signal-safe calls.
    std::vector<char*> pointers;
    for (const std::string& word : argv) {
        pointers.push_back(const_cast<char*>(word.c_str()));
    }
    pointers.push_back(nullptr);
    int reportPipe[2];
    if (::pipe2(reportPipe, O_CLOEXEC) != 0) {
        return errno;
    }
    const pid_t watcher = ::fork();
    if (watcher < 0) {
        const int error = errno;
        ::close(reportPipe[0]);
        ::close(reportPipe[1]);
        return error;
    }
    if (watcher == 0) {
        ::close(reportPipe[0]);
        Watch(executable.c_str(), pointers.data(), reportPipe[1]);
    }
    ::close(reportPipe[1]);
    WatchReport report;
    ssize_t got;
    do {
        got = ::read(reportPipe[0], &report, sizeof report);
    } while (got < 0 && errno == EINTR);
    ::close(reportPipe[0]);
    while (::waitpid(watcher, nullptr, 0) < 0 && errno == EINTR) {
    }
    // A watcher that died before reporting could not tell whether the program started.
    return got == sizeof report ? report.result : ECHILD;
}

}  // namespace tavlo
