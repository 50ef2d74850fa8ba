// The cost of one ShowMessage2 call with the window on screen, as the drive search makes it for
// every file; prints microseconds per call. Not a test; run it under Wine and Xvfb by hand.
//
// Two figures: calls back to back (a burst shorter than a few frames hardly repaints), and calls
// spaced by about the cost of reading one directory entry, so the burst spans many frames and
// the figure includes its share of the paced repaints and event pumps.

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/Win32MainWindow.h"

namespace {

using Clock = std::chrono::steady_clock;
using Micros = std::chrono::duration<double, std::micro>;

// About what the walk spends on one file under Wine.
constexpr auto kWalkPerFile = std::chrono::microseconds(11);

void Spin(std::chrono::microseconds span) {
  const auto until = Clock::now() + span;
  while (Clock::now() < until) {
  }
}

}  // namespace

int wmain() {
  constexpr int kCalls = 100000;
  std::vector<std::wstring> paths;
  paths.reserve(kCalls);
  for (int i = 0; i < kCalls; ++i) {
    paths.push_back(L"C:\\Program Files\\Some Vendor\\Product " + std::to_wstring(i / 100) +
                    L"\\data\\file" + std::to_wstring(i) + L".dat");
  }
  docrecover::ui::Win32MainWindow window;
  window.Show();
  window.ShowMessage(L"Searching drive C: for ZEMO.exe, Please wait...");

  const auto start = Clock::now();
  for (const std::wstring& path : paths) {
    window.ShowMessage2(path);
  }
  window.Flush();
  const Micros burst = Clock::now() - start;
  std::printf("ShowMessage2 back to back: %d calls, %.3f us per call\n", kCalls,
              burst.count() / kCalls);

  Micros inCalls{};
  const auto walkStart = Clock::now();
  for (const std::wstring& path : paths) {
    Spin(kWalkPerFile);
    const auto before = Clock::now();
    window.ShowMessage2(path);
    inCalls += Clock::now() - before;
  }
  window.Flush();
  const Micros walk = Clock::now() - walkStart;
  std::printf(
      "ShowMessage2 between %lld us steps of work: %d calls over %.0f ms, %.3f us per call\n",
      static_cast<long long>(kWalkPerFile.count()), kCalls, walk.count() / 1000,
      inCalls.count() / kCalls);
  window.Unload();
  return 0;
}
