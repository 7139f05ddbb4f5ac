#pragma once

#include <windows.h>

// windows.h renames these to their ...A or ...W forms by macro; the program has functions and
// methods of the same names (core/embedded_resources.h, core/version_resource.h), which must keep
// theirs. The Win32 calls are made by their ...W names.
#undef FindResource
#undef GetFileVersionInfo
#undef GetFileVersionInfoSize
#undef GetModuleFileName
#undef VerQueryValue
