// The drive search without a window: the program's own SearchDrive over the Win32 file system,
// on every fixed drive in the program's order, with a host that shows nothing. Its time is the
// yardstick for the search with the window on screen.
//
//   e2e_headless_search [file name]     (default ZEMO.exe)
// Prints "files: N", "found: N" and "search ms: T": the time from listing the drives to the end of
// the last drive's search, as the driver times the program from its window's appearance (just
// before it lists the drives) to its final box.

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "discovery/GetFixedDrives.h"
#include "discovery/SearchDrive.h"
#include "platform/PlatformError.h"
#include "platform/win32/Win32FileSystem.h"
#include "walker/crtDTree.h"

namespace docrecover {

namespace {

// Counts the files the search shows; no Cancel is ever clicked, so no question is asked.
class CountingHost final : public SearchHost {
 public:
  CountingHost()
      : fileSystem_(NewWin32FileSystem()), walker_([] { return NewWin32FileSystem(); }) {}

  FileSystemService& FileSystem() override { return *fileSystem_; }
  crtDTree& DriveWalker() override { return walker_; }
  void ShowMessage2(const std::wstring&) override { ++shown_; }
  bool CancelRequested() const override { return false; }
  void ResetCancelRequested() override {}
  int32_t ShowMessageBox(const std::wstring& text, int32_t, const std::wstring&) override {
    std::fwprintf(stderr, L"unexpected message box: %ls\n", text.c_str());
    ExitProcess(/*uExitCode=*/2);
  }
  void UnloadWindow() override {}
  [[noreturn]] void EndProgram() override {
    std::fputs("the search asked to end the program\n", stderr);
    ExitProcess(/*uExitCode=*/2);
  }

  long shown() const { return shown_; }

 private:
  FileSystemPtr fileSystem_;
  crtDTree walker_;
  long shown_ = 0;
};

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

}  // namespace

}  // namespace docrecover

int wmain(int argc, wchar_t** argv) {
  using namespace docrecover;
  const std::wstring wanted = argc > 1 ? argv[1] : L"ZEMO.exe";
  CountingHost host;
  LARGE_INTEGER start;
  LARGE_INTEGER end;
  QueryPerformanceCounter(&start);
  long found = 0;
  try {
    for (const std::wstring& drive : GetFixedDrives(host.FileSystem())) {
      found += static_cast<long>(SearchDrive(host, drive, wanted).size());
    }
  } catch (const PlatformError& failure) {
    std::fwprintf(stderr, L"listing the drives failed: %ls (error %lu)\n",
                  failure.Message().c_str(), static_cast<unsigned long>(failure.Number()));
    return 1;
  }
  QueryPerformanceCounter(&end);
  std::printf("files: %ld\nfound: %ld\nsearch ms: %.1f\n", host.shown(), found,
              Milliseconds(start, end));
  return 0;
}
