#pragma once

#include <string>
#include <string_view>

// The window's controls hold UTF-16; the receiver's texts (search text, owner text, the dialogs'
// own words) are Windows-1252 bytes. These are the one crossing point between the two, with code
// page 1252 whatever the system's ANSI code page. File names and the message boxes' texts are
// UTF-8 and cross with Wide and Utf8 (core/windows/win_io.h), as at every Win32 file call.
namespace tavlo {

// Every byte has a character (the five undefined ones show as their C1 control).
std::wstring WideFromWindows1252(std::string_view text);

// A character the code page cannot hold becomes "?"; the fields keep such characters out as they
// are typed or pasted (GuardWindows1252), so this happens only to text set from elsewhere.
std::string Windows1252FromWide(std::wstring_view text);

// True when every UTF-16 unit has a Windows-1252 byte.
bool IsWindows1252Unit(wchar_t unit);

// The line breaks of an edit box ("\r\n") and of the program's texts ("\n").
std::wstring WithCrLf(std::wstring_view text);
std::wstring WithoutCr(std::wstring_view text);

}  // namespace tavlo
