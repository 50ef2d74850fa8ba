#pragma once

// The one fake of the desktop: the platform's boxes and program folder, the main window, and the
// window as the drive search reaches it. Everything shown is recorded in order (the main pane's
// texts after "main: ", the secondary pane's bare), boxes are answered from a script (OK once it
// runs out), and Cancel is clicked while events with chosen numbers are shown. onShow2 sees each
// text of the secondary pane (the copy shows each document's name there) as it is shown.

#include <set>

#include "discovery/SearchHost.h"
#include "platform/Desktop.h"
#include "platform/PlatformError.h"
#include "support/MemoryFileSystem.h"
#include "walker/crtDTree.h"

namespace docrecover::testing {

struct Ended {};  // what EndProgram throws instead of ending the test; no std::exception

struct ScriptedDesktop : Desktop, MainWindowView, SearchHost {
  int32_t ShowMessageBox(const std::wstring& text, int32_t style,
                         const std::wstring& title) override {
    Record(title + L" " + std::to_wstring(style) + L": " + text);
    return asked < answers.size() ? answers[asked++] : 1;
  }
  std::wstring ProgramFolder() override { return L"E:\\"; }  // the root of the CD
  [[noreturn]] void EndProgram() override { throw Ended{}; }
  FileSystemPtr NewFileSystem() override { return NewMemoryFileSystem(disk); }
  std::optional<std::string> DocumentList() override { return documents; }

  void Show() override { Record(L"show"); }
  void ShowMessage(const std::wstring& text) override { Record(L"main: " + text); }
  void ShowMessage2(const std::wstring& text) override { Record(text).onShow2(text); }
  void KeepAlive() override {
    if (++keepAlives == failingKeepAlive) {  // as the Win32 window passes up one it recorded
      throw PlatformError(1450, L"Insufficient system resources exist.");
    }
  }
  void Pause(int32_t milliseconds) override { Record(L"pause " + std::to_wstring(milliseconds)); }
  void DisableCancel() override { Record(L"cancel disabled"); }
  void Unload() override { Record(L"unload"); }
  void SetCancelHandler(std::function<void()> handler) override { onCancel = handler; }

  FileSystemService& FileSystem() override { return *fileSystem; }
  crtDTree& DriveWalker() override { return Record(L"walker").walker; }
  bool CancelRequested() const override { return cancel; }
  void ResetCancelRequested() override { cancel = false; }
  void UnloadWindow() override { Unload(); }

  ScriptedDesktop& Record(const std::wstring& event) {
    events.push_back(event);
    if (clicks.count(events.size()) != 0) {
      onCancel();
    }
    return *this;
  }

  std::shared_ptr<MemoryDisk> disk = std::make_shared<MemoryDisk>();
  FileSystemPtr fileSystem = NewMemoryFileSystem(disk);
  crtDTree walker{[this] { return NewMemoryFileSystem(disk); }};
  std::optional<std::string> documents;  // the program's list; none by default
  std::vector<int32_t> answers;
  size_t asked = 0;
  std::set<size_t> clicks;
  bool cancel = false;
  std::function<void()> onCancel = [this] { cancel = true; };  // frmMain puts its own
  std::vector<std::wstring> events;
  std::function<void(const std::wstring&)> onShow2 = [](const std::wstring&) {};
  int64_t keepAlives = 0;
  int64_t failingKeepAlive = 0;
};

}  // namespace docrecover::testing
