// Measures the firmware core against the plain system operations it must keep up with, in one
// run, and prints the ratios:
//   - locating a message near the end of a 256 MiB image vs memmem over the same buffer;
//   - Load of a 256 MiB file vs one plain read() of it, and Load's peak memory;
//   - tavlo-cli find vs grep -c -a, tavlo-cli patch vs bbe writing the same file.
// Usage: core_bench [FOLDER]   (the folder for the 256 MiB test files, default /tmp)
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/support/best_time.h"
#include "core/firmware_image.h"

namespace {

constexpr std::size_t kImageSize = 256u << 20;
constexpr int kRounds = 5;
const char kMessage[] = "WARNING: this unit belongs to nobody yet";

// The best of kRounds runs, in seconds.
double Best(const std::function<void()>& work, int rounds = kRounds) {
    return tavlo::bench::BestSeconds(work, rounds);
}

// Random bytes with the message near the end; no other occurrence of "WARNING".
std::vector<std::uint8_t> MakeImage() {
    std::vector<std::uint8_t> bytes(kImageSize);
    std::mt19937_64 random(20261208);
    for (std::size_t i = 0; i + 8 <= bytes.size(); i += 8) {
        const std::uint64_t value = random();
        std::memcpy(&bytes[i], &value, 8);
    }
    const std::size_t at = bytes.size() - 4096;
    bytes[at - 1] = 0;
    std::memcpy(&bytes[at], kMessage, sizeof kMessage);  // with its zero byte
    return bytes;
}

bool WriteAll(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            ::close(fd);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return ::close(fd) == 0;
}

// One plain read() of the whole file into one buffer.
void PlainRead(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    struct stat info {};
    ::fstat(fd, &info);
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[info.st_size + 1]);
    std::size_t done = 0;
    while (done < static_cast<std::size_t>(info.st_size)) {
        const ssize_t n = ::read(fd, buffer.get() + done, info.st_size - done);
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

// The high-water mark of this process's resident memory, in bytes.
long PeakResidentBytes() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    char line[256];
    long kib = -1;
    while (status && std::fgets(line, sizeof line, status)) {
        std::sscanf(line, "VmHWM: %ld kB", &kib);
    }
    if (status) {
        std::fclose(status);
    }
    return kib * 1024;
}

// Peak resident memory of a fresh process that only loads the file, in bytes. (A forked child
// would count the pages it shares with this process.)
long LoadPeakMemory(const std::string& path) {
    const std::string command =
        "/proc/" + std::to_string(::getpid()) + "/exe --load-only '" + path + "'";
    std::FILE* child = ::popen(command.c_str(), "r");
    long peak = -1;
    if (child && std::fscanf(child, "%ld", &peak) != 1) {
        peak = -1;
    }
    return child && ::pclose(child) == 0 ? peak : -1;
}

// Wall time of a shell command, best of a few runs; false when it failed.
double CommandTime(const std::string& command, int rounds = 3) {
    bool ok = true;
    const double t = Best(
        [&] {
            const int status = std::system(command.c_str());
            ok = ok && status != -1 && WIFEXITED(status) && WEXITSTATUS(status) <= 1;
        },
        rounds);
    return ok ? t : -1;
}

void PrintRatio(const char* what, double ours, double theirs, double limit, const char* vs) {
    const double ratio = ours / theirs;
    std::printf("%-44s %8.1f ms vs %-16s %8.1f ms  ratio %5.2f  (target <= %.2f: %s)\n", what,
                ours * 1e3, vs, theirs * 1e3, ratio, limit, ratio <= limit ? "met" : "MISSED");
}

// The command-line companion against the standard tools, on the image at `path`.
void CompareTheCommandLine(const std::string& folder, const std::string& path) {
    const std::string cli = TAVLO_CLI_PATH;
    const double find = CommandTime(cli + " find '" + path + "' --search WARNING >/dev/null");
    const double grep = CommandTime("grep -c -a WARNING '" + path + "' >/dev/null");
    if (find > 0 && grep > 0) {
        PrintRatio("tavlo-cli find on 256 MiB", find, grep, 1.2, "grep -c -a");
    }
    // The new text starts with the search text again, so every round patches the same message.
    const std::string copy = folder + "/tavlo-bench-bbe.rgn";
    const double patch = CommandTime(
        cli + " patch '" + path + "' --search WARNING --text 'WARNING: Ann, 555-0100' >/dev/null");
    const double bbe =
        CommandTime("bbe -e 's/WARNING/Call 55/' -o '" + copy + "' '" + path + "' >/dev/null");
    if (patch > 0 && bbe > 0) {
        PrintRatio("tavlo-cli patch (backup, write, fsync, verify)", patch, bbe, 1.0, "bbe");
    } else if (bbe < 0) {
        std::printf("bbe is not installed: apt-get install bbe\n");
    }
    std::remove(copy.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--load-only") == 0) {
        tavlo::FirmwareImage image;
        if (!image.Load(argv[2])) {
            return 1;
        }
        std::printf("%ld\n", PeakResidentBytes());
        return 0;
    }
    const std::string folder = argc > 1 ? argv[1] : "/tmp";
    const std::string path = folder + "/tavlo-bench.rgn";
    std::printf("Preparing a 256 MiB image of random bytes in %s ...\n", path.c_str());
    const std::vector<std::uint8_t> bytes = MakeImage();
    if (!WriteAll(path, bytes)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }

    // Search: the core's string search against memmem over the same loaded buffer.
    tavlo::FirmwareImage image;
    if (!image.Load(path)) {
        std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), image.LastError().c_str());
        return 1;
    }
    const void* volatile sink = nullptr;
    const double locate = Best([&] {
        image.ResetSearch();
        image.LocateMessage("WARNING");
        sink = image.Data() + image.MatchOffset();
    });
    const double memmemTime =
        Best([&] { sink = ::memmem(image.Data(), image.Length(), "WARNING", 7); });
    (void)sink;
    PrintRatio("LocateMessage near the end of 256 MiB", locate, memmemTime, 1.5, "memmem");

    // Load against a plain read of the same (cached) file.
    PlainRead(path);
    const double plain = Best([&] { PlainRead(path); });
    const double load = Best([&] {
        tavlo::FirmwareImage fresh;
        fresh.Load(path);
    });
    PrintRatio("Load of a 256 MiB file", load, plain, 1.2, "read()");
    const long peak = LoadPeakMemory(path);
    const long allowed = static_cast<long>(kImageSize) + (16L << 20);
    std::printf("%-44s %8.1f MiB (target <= %.1f MiB: %s)\n", "Load peak memory", peak / 1048576.0,
                allowed / 1048576.0, peak > 0 && peak <= allowed ? "met" : "MISSED");

    CompareTheCommandLine(folder, path);
    std::remove(path.c_str());
    std::remove((folder + "/tavlo-bench.bak").c_str());
    return 0;
}
