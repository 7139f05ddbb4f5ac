#pragma once

#include <windows.h>

#include <chrono>
#include <string>

#include "screen/preview_picture.h"

namespace tavlo::test {

// What a window shows on the screen now, frame included, as 24-bit colour.
RgbRaster CaptureWindow(HWND window);
// What the client area of one of this program's windows shows, as it paints it.
RgbRaster CaptureClient(HWND window);

// The visible top-level window of process `processId` titled `title`, waited for up to
// `limit`; nullptr when none appears. Sent and posted messages of this thread are handled while
// waiting.
HWND WaitForWindow(DWORD processId, const std::wstring& title,
                   std::chrono::milliseconds limit = std::chrono::seconds(30));

// Waits (handling this thread's messages) until `done` holds or `limit` passes.
template <typename Condition>
bool WaitUntil(Condition done, std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(20);
    }
    return true;
}

// The text of a window or control.
std::wstring TextOf(HWND window);

}  // namespace tavlo::test
