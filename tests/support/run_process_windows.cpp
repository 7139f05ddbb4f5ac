#include <windows.h>

#include <fstream>
#include <iterator>

#include "support/run_process.h"
#include "support/test_files.h"

// RunProcess for the Windows build: CreateProcessW with the standard output and error sent to
// files, as the POSIX version does.
namespace tavlo::test {

namespace {

std::wstring Wide(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), n);
    wide.resize(wide.size() - 1);
    return wide;
}

// One argument as CommandLineToArgvW reads it back: quoted, with the backslashes before a
// quote doubled.
std::wstring Quoted(const std::wstring& argument) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

// The current environment with `env` ("NAME=value") set on top, as CreateProcessW takes it.
std::wstring Environment(const std::vector<std::string>& env) {
    std::vector<std::wstring> entries;
    wchar_t* block = GetEnvironmentStringsW();
    for (const wchar_t* entry = block; *entry != L'\0'; entry += wcslen(entry) + 1) {
        entries.emplace_back(entry);
    }
    FreeEnvironmentStringsW(block);
    for (const std::string& setting : env) {
        const std::wstring wide = Wide(setting);
        const std::wstring name = wide.substr(0, wide.find(L'=') + 1);
        std::erase_if(entries, [&](const std::wstring& entry) {
            return CompareStringOrdinal(entry.c_str(), static_cast<int>(name.size()), name.c_str(),
                                        static_cast<int>(name.size()), TRUE) == CSTR_EQUAL;
        });
        entries.push_back(wide);
    }
    std::wstring text;
    for (const std::wstring& entry : entries) {
        text += entry + L'\0';
    }
    return text + L'\0';
}

HANDLE OutputFile(const std::string& path) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    return CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string Slurp(const std::string& path) {
    std::ifstream in(PathOf(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env, unsigned timeLimitSeconds) {
    TempDir outputs;
    const std::string outPath = outputs.File("out");
    const std::string errPath = outputs.File("err");
    ProcessResult result;
    std::wstring commandLine = Quoted(Wide(program));
    for (const std::string& arg : args) {
        commandLine += L" " + Quoted(Wide(arg));
    }
    std::wstring environment = Environment(env);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = OutputFile(outPath);
    startup.hStdError = OutputFile(errPath);
    PROCESS_INFORMATION process{};
    const bool started =
        CreateProcessW(Wide(program).c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                       CREATE_UNICODE_ENVIRONMENT, environment.data(), nullptr, &startup, &process);
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
    if (started) {
        const DWORD limit = timeLimitSeconds == 0 ? INFINITE : timeLimitSeconds * 1000;
        DWORD code = 0;
        if (WaitForSingleObject(process.hProcess, limit) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(process.hProcess, &code)) {
            result.exitCode = static_cast<int>(code);
        } else {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, INFINITE);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    result.out = Slurp(outPath);
    result.err = Slurp(errPath);
    return result;
}

}  // namespace tavlo::test
