#include "support/run_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "support/test_files.h"

namespace tavlo::test {

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env, unsigned timeLimitSeconds) {
    TempDir outputs;
    const std::string outPath = outputs.File("out");
    const std::string errPath = outputs.File("err");
    ProcessResult result;
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Child: redirect, extend the environment, exec.
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        for (const std::string& entry : env) {
            const std::size_t eq = entry.find('=');
            ::setenv(entry.substr(0, eq).c_str(), entry.substr(eq + 1).c_str(), 1);
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        ::alarm(timeLimitSeconds);  // survives exec; SIGALRM ends the program
        ::execv(program.c_str(), argv.data());
        std::_Exit(127);
    }
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    }
    result.out = Slurp(outPath);
    result.err = Slurp(errPath);
    return result;
}

}  // namespace tavlo::test
