#pragma once

#include <string>
#include <string_view>

// The window's controls hold UTF-16; the program's texts are Windows-1252 bytes. These are the
// one crossing point between the two, with code page 1252 whatever the system's ANSI code page.
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
