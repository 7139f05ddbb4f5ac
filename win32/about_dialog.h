#pragma once

#include "win32/dialog_window.h"

namespace tavlo {

// "About Tavlo": the icon, the version read from the program's version resource, the notice.
class Win32AboutDialog : public DialogWindow {
public:
    INT_PTR Run(HWND owner);

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
};

}  // namespace tavlo
