// The yardsticks for the whole program's search, over the drives the program itself searches
// (every fixed drive, in the program's order): one plain walk of them all (the floor), then the
// program's own drive listing and SearchDrive over them without a window.
//
//   bench_fixed_drives [walk]
// Prints "drives: C D ...", "files: N", "floor ms: T" and "headless search ms: T". With "walk" it
// makes the plain walk only and ends: started by bench_program_timer, it is the whole program's
// floor, a process that pays Wine's start-up as the program does.

#include <windows.h>

#include <cstdio>
#include <string>

#include "FloorWalk.h"
#include "NullSearchHost.h"
#include "Stopwatch.h"
#include "discovery/GetFixedDrives.h"
#include "discovery/SearchDrive.h"
#include "platform/PlatformError.h"
#include "platform/win32/Win32FileSystem.h"

int wmain(int argc, wchar_t** argv) {
  using namespace docrecover;
  using namespace docrecover::bench;
  const Stopwatch floorClock;
  const DWORD drives = GetLogicalDrives();
  WalkCount total;
  std::string letters;
  for (int i = 0; i < 26; ++i) {
    const wchar_t root[] = {static_cast<wchar_t>(L'A' + i), L':', L'\\', 0};
    if ((drives & (1u << i)) == 0 || GetDriveTypeW(root) != DRIVE_FIXED) {
      continue;
    }
    const WalkCount count = FloorWalk(root);
    total.files += count.files;
    total.unreadable += count.unreadable;
    if (!letters.empty()) {
      letters += ' ';
    }
    letters += static_cast<char>('A' + i);
  }
  const double floorMs = floorClock.Milliseconds();
  if (argc > 1 && std::wstring(argv[1]) == L"walk") {
    std::printf("drives: %s\nfiles: %ld\n", letters.c_str(), total.files);
    return total.unreadable == 0 ? 0 : 1;
  }

  NullSearchHost host(NewWin32FileSystem());
  const Stopwatch searchClock;
  try {
    for (const std::wstring& drive : GetFixedDrives(host.FileSystem())) {
      SearchDrive(host, drive, L"ZEMO.exe");
    }
  } catch (const PlatformError& failure) {
    std::fwprintf(stderr, L"listing the drives failed: %ls\n", failure.Message().c_str());
    return 1;
  }
  const double searchMs = searchClock.Milliseconds();
  if (host.Shown() != total.files || total.unreadable != 0) {
    std::fprintf(stderr, "the search visited %ld files, the floor %ld (%ld folders unreadable)\n",
                 host.Shown(), total.files, total.unreadable);
    return 1;
  }
  std::printf("drives: %s\nfiles: %ld\nfloor ms: %.1f\nheadless search ms: %.1f\n", letters.c_str(),
              total.files, floorMs, searchMs);
  return 0;
}
