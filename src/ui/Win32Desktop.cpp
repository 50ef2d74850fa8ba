#include "ui/Win32Desktop.h"

#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Process.h"
#include "ui/ProgramResource.h"
#include "ui/ResourceIds.h"

namespace docrecover::ui {

int32_t Win32Desktop::ShowMessageBox(const std::wstring& text, int32_t style,
                                     const std::wstring& title) {
  // Every box after Cancel is disabled is the run's last: the copy is over.
  window_.ReleaseLogoff();
  window_.Flush();
  const int answer =
      MessageBoxW(/*hWnd=*/window_.Handle(), text.c_str(), title.c_str(), static_cast<UINT>(style));
  if (answer == 0) {
    throw win32::LastError();
  }
  return answer;
}

std::wstring Win32Desktop::ProgramFolder() {
  return win32::ProgramFolder();
}

void Win32Desktop::EndProgram() {
  window_.Flush();
  win32::EndProgramNow(0);
}

FileSystemPtr Win32Desktop::NewFileSystem() {
  return win32::NewWin32FileSystem();
}

std::optional<std::string> Win32Desktop::DocumentList() {
  const std::optional<std::string_view> text = ProgramResource(DOCRECOVER_DOCUMENTS);
  return text ? std::optional<std::string>(*text) : std::nullopt;
}

}  // namespace docrecover::ui
