#pragma once

// The drive search without a window: a host that shows nothing and only counts what the search
// would have shown. Nobody clicks Cancel, so the cancel question is never asked; if the search
// asked it anyway, or asked to end the program, the benchmark stops with an error.

#include <string>

#include "discovery/SearchHost.h"
#include "walker/crtDTree.h"

namespace docrecover::bench {

class NullSearchHost final : public SearchHost {
 public:
  // fileSystem stands for the window's service; the walker makes its own Win32 one.
  explicit NullSearchHost(FileSystemPtr fileSystem);

  FileSystemService& FileSystem() override { return *fileSystem_; }
  crtDTree& DriveWalker() override { return walker_; }
  void ShowMessage2(const std::wstring&) override { ++shown_; }
  bool CancelRequested() const override { return false; }
  void ResetCancelRequested() override {}
  int32_t ShowMessageBox(const std::wstring& text, int32_t style,
                         const std::wstring& title) override;
  void UnloadWindow() override {}
  [[noreturn]] void EndProgram() override;

  // The number of texts the search has shown: one per file visited.
  long Shown() const { return shown_; }

 private:
  FileSystemPtr fileSystem_;
  crtDTree walker_;
  long shown_ = 0;
};

}  // namespace docrecover::bench
