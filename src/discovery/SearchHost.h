#pragma once

// What the drive search needs from the window that owns it. The main window implements it; tests
// script it. The service and the walker are the window's members, created on first use.

#include <cstdint>
#include <string>

#include "platform/FileSystemService.h"

namespace docrecover {

class crtDTree;

class SearchHost {
 public:
  virtual ~SearchHost() = default;

  // The window's file-system service object, created on first use; creating it may fail.
  virtual FileSystemService& FileSystem() = 0;
  // The window's walker, created on first use and kept for the window's life.
  virtual crtDTree& DriveWalker() = 0;
  // Shows text in the secondary pane and processes pending window events.
  virtual void ShowMessage2(const std::wstring& text) = 0;
  // The flag a click on Cancel raises, and its reset.
  virtual bool CancelRequested() const = 0;
  virtual void ResetCancelRequested() = 0;
  // A modal message box; returns the answer.
  virtual int32_t ShowMessageBox(const std::wstring& text, int32_t style,
                                 const std::wstring& title) = 0;
  // Closes the window, and ends the program at once.
  virtual void UnloadWindow() = 0;
  [[noreturn]] virtual void EndProgram() = 0;
};

}  // namespace docrecover
