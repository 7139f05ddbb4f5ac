#pragma once

#include <windows.h>

namespace tavlo {

// Keeps the characters that Windows-1252 cannot hold out of an edit control (or the edit part
// of a combo box) as they are typed or pasted, with a beep: the program's texts are
// Windows-1252, and a character that cannot be written into the firmware must not seem to be
// accepted.
void GuardWindows1252(HWND field);

}  // namespace tavlo
