#pragma once

#include <string>

#include "core/file_failure.h"

namespace tavlo {

class DesktopServices;

// The message box of a save that failed: under the title "Tavlo", "Open for write failed" when
// nothing could be written at all, then the file and the cause, then what the user can do. The
// text is Windows-1252, as the failure's; the box gets it in UTF-8.
inline constexpr const char* kSaveFailedTitle = "Tavlo";
std::string SaveFailureText(const FileFailure& failure);
void ShowSaveFailure(DesktopServices& desktop, const FileFailure& failure);

}  // namespace tavlo
