#include "support/child_process.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace tavlo::test {

namespace {

constexpr unsigned kNobody = 65534;
constexpr int kCannotDropPrivileges = 3;

}  // namespace

unsigned UnprivilegedUserId() {
    return ::geteuid() == 0 ? kNobody : ::geteuid();
}

std::optional<std::string> RunInChild(const std::function<std::string()>& body, bool unprivileged) {
    int channel[2];
    if (::pipe(channel) != 0) {
        return "cannot create a pipe";
    }
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return "cannot fork";
    }
    if (child == 0) {
        ::close(channel[0]);
        if (unprivileged && ::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(kCannotDropPrivileges);
        }
        const std::string text = body();
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t written = ::write(channel[1], text.data() + done, text.size() - done);
            if (written <= 0) {
                ::_exit(1);
            }
            done += static_cast<std::size_t>(written);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string text;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == kCannotDropPrivileges) {
        return std::nullopt;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return "child ended abnormally (status " + std::to_string(status) + "): " + text;
    }
    return text;
}

}  // namespace tavlo::test
