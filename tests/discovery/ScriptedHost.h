#pragma once

// A window for the drive search, scripted by the test: it records what the search shows and asks,
// delivers Cancel clicks at chosen moments and answers the cancel question from a script.

#include <cstdint>
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "discovery/SearchHost.h"
#include "support/MemoryFileSystem.h"
#include "walker/crtDTree.h"

namespace docrecover {

// What EndProgram throws instead of ending the test process.
struct ProgramEnded {};

class ScriptedHost : public SearchHost {
 public:
  explicit ScriptedHost(std::shared_ptr<testing::MemoryDisk> disk);

  FileSystemService& FileSystem() override;
  crtDTree& DriveWalker() override;
  void ShowMessage2(const std::wstring& text) override;
  bool CancelRequested() const override { return cancelRequested; }
  void ResetCancelRequested() override { cancelRequested = false; }
  int32_t ShowMessageBox(const std::wstring& text, int32_t style,
                         const std::wstring& title) override;
  void UnloadWindow() override;
  [[noreturn]] void EndProgram() override;

  // --- The script. ---
  std::set<size_t> clickDuringShow;  // 1-based numbers of the ShowMessage2 calls that see a click
  std::deque<int32_t> answers;       // answers to the cancel question, in turn
  bool fileSystemFails = false;      // creating the service object fails
  bool showFails = false;            // ShowMessage2 raises after recording
  bool boxFails = false;             // the question cannot be shown
  bool unloadFails = false;
  FileSystemPtr fileSystem;  // used instead of one on the disk when set before the first use

  // --- The record. ---
  bool cancelRequested = false;
  std::vector<std::wstring> shown;
  std::vector<std::wstring> events;  // "show <text>", "box <title>|<style>|<text>", "unload", "end"
  int walkerUses = 0;

 private:
  std::shared_ptr<testing::MemoryDisk> disk_;
  std::unique_ptr<crtDTree> walker_;
};

}  // namespace docrecover
