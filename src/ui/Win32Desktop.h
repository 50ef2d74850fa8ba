#pragma once

// The desktop services on Win32: message boxes owned by the main window while it is open, the
// program's folder and end, and the Win32 file system.

#include "platform/Desktop.h"
#include "ui/Win32MainWindow.h"

namespace docrecover::ui {

class Win32Desktop final : public Desktop {
 public:
  explicit Win32Desktop(Win32MainWindow& window) : window_(window) {}

  // Flushes the window first, so the last pane texts are on screen while the box is up.
  int32_t ShowMessageBox(const std::wstring& text, int32_t style,
                         const std::wstring& title) override;
  std::wstring ProgramFolder() override;
  [[noreturn]] void EndProgram() override;
  FileSystemPtr NewFileSystem() override;
  // The program's own DOCRECOVER_DOCUMENTS resource.
  std::optional<std::string> DocumentList() override;

 private:
  Win32MainWindow& window_;
};

}  // namespace docrecover::ui
