// The peak working set of one drive search without a window, in a process of its own (the peak
// only ever grows, so each tree needs a fresh process).
//
//   bench_search_memory <drive letter>
// Prints "files: N", "before KiB: K" (the peak before the search: the process and Wine itself)
// and "peak KiB: K" (the peak once the search has ended).

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "NullSearchHost.h"
#include "discovery/SearchDrive.h"
#include "platform/win32/Win32FileSystem.h"

namespace {

// The process's peak working set so far, in KiB; 0 (with a message) when it cannot be read.
unsigned long PeakKiB() {
  PROCESS_MEMORY_COUNTERS counters{};
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) {
    std::fprintf(stderr, "GetProcessMemoryInfo failed: error %lu\n", GetLastError());
    return 0;
  }
  return static_cast<unsigned long>(counters.PeakWorkingSetSize / 1024);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using namespace docrecover;
  if (argc != 2) {
    std::fputs("usage: bench_search_memory <drive letter>\n", stderr);
    return 2;
  }
  bench::NullSearchHost host(NewWin32FileSystem());
  const unsigned long before = PeakKiB();
  const StringList found = SearchDrive(host, argv[1], L"ZEMO.exe");
  const unsigned long peak = PeakKiB();
  if (before == 0 || peak == 0 || !found.empty()) {
    return 1;
  }
  std::printf("files: %ld\nbefore KiB: %lu\npeak KiB: %lu\n", host.Shown(), before, peak);
  return 0;
}
