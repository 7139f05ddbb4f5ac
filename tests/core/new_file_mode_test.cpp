// The mode of a new file follows the umask, which is read without being changed: a change, even
// for a moment, would hold for every thread of the process.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>

#include "core/posix/posix_io.h"

namespace {

std::atomic<int> umaskCalls{0};

}  // namespace

// This program's own umask() takes the place of the C library's for every caller in it: it
// counts the calls, then does what the system call does.
extern "C" mode_t umask(mode_t mask) noexcept {
    ++umaskCalls;
    return static_cast<mode_t>(::syscall(SYS_umask, mask));
}

namespace tavlo::test {
namespace {

TEST(NewFileMode, FollowsTheUmaskWithoutEverSettingIt) {
    const mode_t original = ::umask(022);
    for (const mode_t mask : {022, 077, 002, 027, 0}) {
        SCOPED_TRACE(mask);
        ::umask(mask);
        umaskCalls = 0;
        EXPECT_EQ(NewFileMode(), 0666u & ~mask);
        EXPECT_EQ(umaskCalls, 0);
    }
    ::umask(original);
}

}  // namespace
}  // namespace tavlo::test
