#include "workflow/help_flow.h"

#include <filesystem>
#include <system_error>

#include "core/embedded_resources.h"
#include "core/file_names.h"
#include "core/message_format.h"
#include "core/resource_file.h"
#include "core/windows1252.h"
#include "workflow/desktop_programs.h"
#include "workflow/desktop_services.h"

namespace tavlo {

namespace {

constexpr HelpFile kHelpFiles[] = {
    {"23", "INDEX.HTM", "index.htm"},          {"IMG", "SCREEN1.GIF", "img/screen1.gif"},
    {"IMG", "SCREEN2.GIF", "img/screen2.gif"}, {"IMG", "ZERBUL1A.GIF", "img/zerbul1a.gif"},
    {"IMG", "ZERTXTR.GIF", "img/zertxtr.gif"},
};

// The browser that could not be started is named where a Windows build named its own.
constexpr const char* kLaunchFailedTitle = "Tavlo : Could not launch %1";
constexpr const char* kLaunchFailedText =
    "Tavlo could not launch %1 to view \nthe built-in HTML help file. (An error #%2 was "
    "returned)\n\nIf you have %1 installed, try to point it directly to:\n%3\n\nOr refer to the "
    "documentation on the Tavlo web site.";

constexpr const char* kWriteFailedTitle = "Tavlo : Could not write the help file";
constexpr const char* kWriteFailedText =
    "Tavlo could not write its built-in HTML help file to\n%1\n\n(%2)\n\nPlease check that "
    "this folder can be written, then try again.";

}  // namespace

std::span<const HelpFile> HelpFiles() {
    return kHelpFiles;
}

std::optional<HelpWriteFailure> WriteHelpFiles(const std::string& folder) {
    for (const HelpFile& file : kHelpFiles) {
        const std::filesystem::path path = FileSystemPath(folder) / file.relativePath;
        const std::string name = NativePathOf(path);
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
        if (error) {
            return HelpWriteFailure{
                name, FormatMessage("its folder could not be made: %1", {error.message()})};
        }
        if (const auto failure = WriteResourceFile(file.resourceName, file.resourceType, name)) {
            return HelpWriteFailure{name, Windows1252ToUtf8(*failure)};
        }
    }
    return std::nullopt;
}

void ViewHelp(DesktopServices& desktop, DesktopPrograms& programs) {
    const std::string folder = programs.HelpFolder();
    if (const auto failure = WriteHelpFiles(folder)) {
        desktop.ShowMessage(
            kWriteFailedTitle,
            FormatMessage(kWriteFailedText, {PathForMessageBox(failure->file), failure->reason}),
            MessageIcon::None);
        return;
    }
    const std::string address =
        programs.AddressOf(NativePathOf(FileSystemPath(folder) / "index.htm"));
    const LaunchResult launch = programs.OpenInBrowser(address);
    if (launch.error != 0) {
        desktop.ShowMessage(
            FormatMessage(kLaunchFailedTitle, {launch.program}),
            FormatMessage(kLaunchFailedText, {launch.program, std::to_string(launch.error),
                                              PathForMessageBox(address)}),
            MessageIcon::None);
    }
}

}  // namespace tavlo
