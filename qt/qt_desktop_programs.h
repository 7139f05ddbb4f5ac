#pragma once

#include <QString>

#include "workflow/desktop_programs.h"

namespace tavlo {

class ProgramStarter;

// The desktop's programs as a Linux desktop names them: the editor of $VISUAL (or xdg-open),
// the browsers of $BROWSER (or xdg-open), started through `starter`; the help goes to
// $XDG_DATA_HOME/tavlo/help.
class QtDesktopPrograms : public DesktopPrograms {
public:
    explicit QtDesktopPrograms(ProgramStarter& starter) : starter_(&starter) {}
    void SetStarter(ProgramStarter& starter) { starter_ = &starter; }

    std::string EditorName() override;
    LaunchResult OpenInEditor(const std::string& file) override;
    std::string AddressOf(const std::string& file) override;
    LaunchResult OpenInBrowser(const std::string& address) override;
    std::string HelpFolder() override;

private:
    ProgramStarter* starter_;
};

// Where the help is written for the browser: $XDG_DATA_HOME (when it is an absolute path) or
// ~/.local/share, then tavlo/help.
QString HelpFolderPath();

}  // namespace tavlo
