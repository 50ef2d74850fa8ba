// The floor for the whole program's search: one plain walk of every fixed drive, the drives the
// program itself searches.
//
//   bench_fixed_drive_floor
// Prints "drives: C D ...", "files: N" and "floor ms: T".

#include <windows.h>

#include <cstdio>
#include <string>

#include "FloorWalk.h"
#include "Stopwatch.h"

int wmain() {
  using namespace docrecover::bench;
  const Stopwatch clock;
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
    total.folders += count.folders;
    total.unreadable += count.unreadable;
    if (!letters.empty()) {
      letters += ' ';
    }
    letters += static_cast<char>('A' + i);
  }
  const double ms = clock.Milliseconds();
  std::printf("drives: %s\nfiles: %ld\nunreadable folders: %ld\nfloor ms: %.1f\n", letters.c_str(),
              total.files, total.unreadable, ms);
  return 0;
}
