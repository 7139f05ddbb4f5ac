#pragma once

#include <windows.h>

#include "workflow/desktop_programs.h"

namespace tavlo {

// Notepad for the settings, the user's default browser for the help (through the file's
// association), and the help in the user's local application-data folder.
class Win32DesktopPrograms : public DesktopPrograms {
public:
    void SetOwner(HWND owner) { owner_ = owner; }

    std::string EditorName() override;
    LaunchResult OpenInEditor(const std::string& file) override;
    std::string AddressOf(const std::string& file) override;
    LaunchResult OpenInBrowser(const std::string& address) override;
    std::string HelpFolder() override;

private:
    HWND owner_ = nullptr;
};

}  // namespace tavlo
