#pragma once

// <windows.h> for the window code, less the macros that would rename the members of the
// file-system service (DeleteFile, CopyFile, ...) in any file that also sees that interface.

#include <windows.h>

#undef DeleteFile
#undef CopyFile
#undef MoveFile
#undef ReplaceFile
