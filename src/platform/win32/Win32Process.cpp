#include <windows.h>

#include "platform/win32/Win32Process.h"

#include "platform/FileSystemService.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Paths.h"

namespace docrecover::win32 {

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(/*hModule=*/nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) {
      throw LastError(L"GetModuleFileNameW");
    }
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // truncated: a path longer than the buffer
  }
  // A program started by its "\\?\" path is reported in that form; callers get the ordinary one.
  return FileSystemService::GetParentFolderName(OrdinaryForm(path));
}

void EndProgramNow(unsigned exitCode) {
  ExitProcess(exitCode);
}

}  // namespace docrecover::win32
