// How long tavlo.exe takes from its start to its window on the screen, against a bare Win32
// dialog measured in the same run: the time from CreateProcess until the program's first
// visible window with the expected title exists. Each program is started alternately, the
// median of the runs is compared.
//
//   startup_bench.exe TAVLO_EXE BARE_DIALOG_EXE [RUNS]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD processId;
    const wchar_t* title;
    HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (owner == search.processId && IsWindowVisible(window) &&
        std::wstring(title) == search.title) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds from the start to the window, or a negative number when it never came.
double TimeToWindow(const std::wstring& program, const wchar_t* title) {
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const auto start = std::chrono::steady_clock::now();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    Search search{process.dwProcessId, title};
    double elapsed = -1;
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(30)) {
        EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            elapsed =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            break;
        }
        Sleep(1);
    }
    if (search.found != nullptr) {
        PostMessageW(search.found, WM_COMMAND, IDCANCEL, 0);  // Escape
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fputs("usage: startup_bench.exe TAVLO_EXE BARE_DIALOG_EXE [RUNS]\n", stderr);
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 21;
    std::vector<double> tavlo;
    std::vector<double> bare;
    for (int i = 0; i < runs; ++i) {
        const double t = TimeToWindow(argv[1], L"Tavlo");
        const double b = TimeToWindow(argv[2], L"Bare dialog");
        if (t < 0 || b < 0) {
            std::fputs("a program did not show its window\n", stderr);
            return 1;
        }
        tavlo.push_back(t);
        bare.push_back(b);
    }
    const double t = Median(tavlo);
    const double b = Median(bare);
    std::printf(
        "start-up to window, median of %d runs: tavlo.exe %.1f ms, bare dialog %.1f ms, "
        "ratio %.2f\n",
        runs, t, b, t / b);
    return 0;
}
