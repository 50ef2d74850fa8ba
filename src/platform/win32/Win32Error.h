#pragma once

// The one error path of the Win32 implementations: GetLastError and its system message.

#include <string>

#include "platform/PlatformError.h"

namespace docrecover::win32 {

// The platform's message for a Win32 error number, without its trailing line break.
std::wstring SystemMessage(unsigned long error);

// A PlatformError for error (GetLastError() by default) about path.
PlatformError Error(unsigned long error);
PlatformError LastError();

}  // namespace docrecover::win32
