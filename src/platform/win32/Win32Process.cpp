#include <windows.h>

#include "platform/win32/Win32Process.h"

#include "platform/FileSystemService.h"
#include "platform/win32/Win32Error.h"

namespace docrecover::win32 {

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(/*hModule=*/nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) {
      throw LastError();
    }
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // truncated: a path longer than MAX_PATH
  }
  if (path.rfind(L"\\\\?\\", 0) == 0 && path.rfind(L"\\\\?\\UNC\\", 0) != 0) {
    path.erase(0, 4);
  }
  return FileSystemService::GetParentFolderName(path);
}

void EndProgramNow(unsigned exitCode) {
  ExitProcess(exitCode);
}

}  // namespace docrecover::win32
