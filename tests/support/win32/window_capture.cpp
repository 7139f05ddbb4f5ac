#include "window_capture.h"

#include <algorithm>
#include <vector>

namespace tavlo::test {

namespace {

// Copies `width` x `height` pixels at (x, y) of `source` into a raster.
RgbRaster Copy(HDC source, int x, int y, int width, int height) {
    RgbRaster raster;
    raster.width = width;
    raster.height = height;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<std::size_t>(width) * height);
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    raster.pixels.reserve(pixels.size());
    for (const DWORD pixel : pixels) {
        raster.pixels.push_back({static_cast<std::uint8_t>(pixel >> 16),
                                 static_cast<std::uint8_t>(pixel >> 8),
                                 static_cast<std::uint8_t>(pixel)});
    }
    return raster;
}

}  // namespace

RgbRaster CaptureWindow(HWND window) {
    RECT frame;
    GetWindowRect(window, &frame);
    HDC screen = GetDC(nullptr);
    RgbRaster raster =
        Copy(screen, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);
    ReleaseDC(nullptr, screen);
    return raster;
}

RgbRaster CaptureClient(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    HDC surface = GetDC(window);
    RgbRaster raster = Copy(surface, 0, 0, client.right, client.bottom);
    ReleaseDC(window, surface);
    return raster;
}

std::wstring TextOf(HWND window) {
    // Asked of the window itself: GetWindowText gives another program's controls' texts only as
    // they were created.
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(std::min<std::size_t>(copied, length));
    return text;
}

HWND WaitForWindow(DWORD processId, const std::wstring& title, std::chrono::milliseconds limit) {
    struct Search {
        DWORD processId;
        const std::wstring* title;
        HWND found = nullptr;
    } search{processId, &title};
    WaitUntil(
        [&search] {
            EnumWindows(
                [](HWND window, LPARAM parameter) -> BOOL {
                    auto& s = *reinterpret_cast<Search*>(parameter);
                    DWORD owner = 0;
                    GetWindowThreadProcessId(window, &owner);
                    if (owner == s.processId && IsWindowVisible(window) &&
                        TextOf(window) == *s.title) {
                        s.found = window;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        limit);
    return search.found;
}

}  // namespace tavlo::test
