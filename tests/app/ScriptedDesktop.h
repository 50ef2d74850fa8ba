#pragma once

// A desktop and a main window scripted by the test: every pane text, box, enable change, show,
// unload and end is recorded in order, boxes are answered from a script by their title, and a
// click on Cancel can be delivered during any ShowMessage2.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "support/MemoryFileSystem.h"

namespace docrecover::testing {

// What EndProgram throws instead of ending the test process; it is no std::exception, so the
// program's error report cannot catch it.
struct ProgramEnded {};

class ScriptedDesktop : public Desktop, public MainWindowView {
 public:
  explicit ScriptedDesktop(std::shared_ptr<MemoryDisk> disk, std::wstring programFolder);

  // Desktop.
  int32_t ShowMessageBox(const std::wstring& text, int32_t style,
                         const std::wstring& title) override;
  std::wstring ProgramFolder() override { return programFolder_; }
  [[noreturn]] void EndProgram() override;
  FileSystemPtr NewFileSystem() override { return NewMemoryFileSystem(disk_); }

  // MainWindowView.
  void Show() override { events.push_back(L"show"); }
  void ShowMessage(const std::wstring& text) override { events.push_back(L"main: " + text); }
  void ShowMessage2(const std::wstring& text) override;
  void KeepAlive() override { ++keepAlives; }
  void Pause(int32_t milliseconds) override {
    events.push_back(L"pause " + std::to_wstring(milliseconds));
  }
  void DisableCancel() override { events.push_back(L"cancel disabled"); }
  void Unload() override { events.push_back(L"unload"); }
  void SetCancelHandler(std::function<void()> onCancel) override { onCancel_ = onCancel; }

  // --- The script. ---
  std::map<std::wstring, std::deque<int32_t>> answers;  // by box title; OK (1) when none is left
  std::set<int64_t> clickAtShow2;  // 1-based numbers of the ShowMessage2 calls that see a click

  // --- The record. ---
  std::vector<std::wstring> events;  // "main: ...", "pane2: ...", "box <title> <style>: <text>"
  int64_t show2Calls = 0;
  int64_t keepAlives = 0;

 private:
  std::shared_ptr<MemoryDisk> disk_;
  std::wstring programFolder_;
  std::function<void()> onCancel_;
};

// The event a box records, for building expected sequences.
std::wstring BoxEvent(const std::wstring& title, int32_t style, const std::wstring& text);

}  // namespace docrecover::testing
