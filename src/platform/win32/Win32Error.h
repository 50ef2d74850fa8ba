#pragma once

// The one error path of the Win32 implementations: a Win32 error number with its system
// message, and what the failing call was about.

#include <string>

#include "platform/PlatformError.h"

namespace docrecover::win32 {

// The platform's message for a Win32 error number, without its trailing line break.
std::wstring SystemMessage(unsigned long error);

// A PlatformError for error. A context (the path or the call concerned) is added to the message,
// so that a report names what failed; the number stays the platform's.
PlatformError Error(unsigned long error, const std::wstring& context = {});
// The same for GetLastError(): call it right after the failing call, before anything that may
// change the thread's last error.
PlatformError LastError(const std::wstring& context = {});

}  // namespace docrecover::win32
