#pragma once

#include <string>

namespace tavlo {

// How a start of another program went: 0, or the number the launch-failed message shows (the
// system's error number, or the status of a program that failed at once), and the program
// really tried, as the user knows it (UTF-8).
struct LaunchResult {
    int error = 0;
    std::string program;
};

// The programs View help and Edit settings start and the folder the help goes to: the user's
// browser, editor and data folder, as the platform names them. None of them is waited for.
class DesktopPrograms {
public:
    virtual ~DesktopPrograms() = default;

    // The editor Edit settings would start, as the question names it (UTF-8).
    virtual std::string EditorName() = 0;
    // Opens the settings file (path as the file system spells it) in the user's editor.
    virtual LaunchResult OpenInEditor(const std::string& file) = 0;
    // The address the browser is given for a local file, as the messages show it.
    virtual std::string AddressOf(const std::string& file) = 0;
    // Opens the address in the user's browser.
    virtual LaunchResult OpenInBrowser(const std::string& address) = 0;
    // The user's folder for the written help pages.
    virtual std::string HelpFolder() = 0;
};

}  // namespace tavlo
