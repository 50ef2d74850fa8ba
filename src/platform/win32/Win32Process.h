#pragma once

// The running program's own place, and its end.

#include <string>

namespace docrecover::win32 {

// The folder holding the running program file (from the module's file name, not the working
// folder); at a drive root it keeps its backslash ("E:\").
std::wstring ProgramFolder();

// Ends the process at once with exitCode.
[[noreturn]] void EndProgramNow(unsigned exitCode);

}  // namespace docrecover::win32

namespace docrecover {
using win32::EndProgramNow;
using win32::ProgramFolder;
}  // namespace docrecover
