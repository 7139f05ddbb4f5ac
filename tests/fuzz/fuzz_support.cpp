#include "fuzz_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace tavlo::fuzz {

void CheckFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, condition);
    std::abort();
}

InputFile::InputFile() {
    struct stat info;
    const bool haveShm =
        ::stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode) && ::access("/dev/shm", W_OK) == 0;
    const char* tmp = std::getenv("TMPDIR");
    path_ =
        std::string(haveShm ? "/dev/shm" : (tmp != nullptr ? tmp : "/tmp")) + "/tavlo-fuzz-XXXXXX";
    fd_ = ::mkstemp(path_.data());
    if (fd_ < 0) {
        std::perror("cannot create the fuzz input file");
        std::abort();
    }
    // The file keeps its name: the image follows a name's links to the file it reads and saves,
    // and a /proc/self/fd link to an unlinked file leads nowhere.
}

InputFile::~InputFile() {
    ::close(fd_);
    ::unlink(path_.c_str());
}

const std::string& InputFile::Write(const std::uint8_t* data, std::size_t size) {
    if (::ftruncate(fd_, 0) != 0) {
        std::perror("cannot empty the fuzz input file");
        std::abort();
    }
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written = ::pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
        if (written <= 0) {
            std::perror("cannot write the fuzz input file");
            std::abort();
        }
        done += static_cast<std::size_t>(written);
    }
    return path_;
}

}  // namespace tavlo::fuzz
