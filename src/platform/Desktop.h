#pragma once

// The desktop services the program calls, apart from the file system: message boxes, the
// program's own folder, ending at once, and the main window as the update sequence drives it.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/FileSystemService.h"

namespace docrecover {

// Message-box styles and answers, with the platform's standard values.
namespace box {
inline constexpr int32_t kStop = 16;         // OK, stop icon
inline constexpr int32_t kWarning = 48;      // OK, exclamation icon
inline constexpr int32_t kInformation = 64;  // OK, information icon
inline constexpr int32_t kYesNoInformation = 68;
inline constexpr int32_t kYes = 6;
inline constexpr int32_t kNo = 7;
}  // namespace box

class Desktop {
 public:
  virtual ~Desktop() = default;

  // A modal message box; returns the answer (kYes, kNo, or 1 for OK).
  virtual int32_t ShowMessageBox(const std::wstring& text, int32_t style,
                                 const std::wstring& title) = 0;
  // The folder that holds the running program file, as the platform gives it (a drive root keeps
  // its backslash).
  virtual std::wstring ProgramFolder() = 0;
  // Ends the program at once with exit status 0.
  [[noreturn]] virtual void EndProgram() = 0;
  // A new, independent file-system service object.
  virtual FileSystemPtr NewFileSystem() = 0;
  // The list of documents the program vouches for, as its build put it into the program (UTF-8
  // text, see transfer/DocumentManifest.h); none for a program built without one.
  virtual std::optional<std::string> DocumentList() = 0;
};

// What long work on documents needs from the window: the secondary pane, and staying alive while
// a large copy runs or a locked document is waited for.
class ProgressView {
 public:
  virtual ~ProgressView() = default;

  // Replaces the text of the secondary pane, then lets the window repaint and process pending
  // events (where a click on Cancel is delivered).
  virtual void ShowMessage2(const std::wstring& text) = 0;
  // Keeps the window alive during long work that writes no text (a large copy): repaints and
  // processes pending events at most once a frame, as ShowMessage2 does.
  virtual void KeepAlive() = 0;
  // Waits about the given time, keeping the window alive meanwhile. Only ever called while Cancel
  // is disabled, so nothing the user does can re-enter the sequence.
  virtual void Pause(int32_t milliseconds) = 0;
};

// The main window as the update sequence sees it. The Win32 window implements it; tests script it.
class MainWindowView : public ProgressView {
 public:
  // Shows the window modeless; returns at once.
  virtual void Show() = 0;
  // Replaces the text of the main pane, then lets the window repaint and process pending events.
  virtual void ShowMessage(const std::wstring& text) = 0;
  // Disables Cancel and repaints it at once; nothing enables it again.
  virtual void DisableCancel() = 0;
  // Closes the window; unloading an unloaded window does nothing. Later writes are harmless.
  virtual void Unload() = 0;
  // The handler a click on Cancel runs.
  virtual void SetCancelHandler(std::function<void()> onCancel) = 0;
};

}  // namespace docrecover
