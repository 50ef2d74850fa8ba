// Directory reads over one whole drive search without a window: the FindFirstFileExW listings
// that reach the system, per folder, counted in the program's import table.
//
//   bench_search_listings <drive letter>
// Prints the tree's size, the files the search visited, the listings' least and greatest count
// per folder, and how many folders of the tree were listed.

#include <climits>
#include <cstdio>
#include <string>

#include "FloorWalk.h"
#include "ListingCounter.h"
#include "NullSearchHost.h"
#include "discovery/SearchDrive.h"
#include "platform/PlatformError.h"
#include "platform/win32/Win32FileSystem.h"

int wmain(int argc, wchar_t** argv) {
  using namespace docrecover;
  using namespace docrecover::bench;
  if (argc != 2) {
    std::fputs("usage: bench_search_listings <drive letter>\n", stderr);
    return 2;
  }
  const WalkCount tree = FloorWalk(std::wstring(argv[1]) + L":\\");
  std::printf("tree: %ld files in %ld folders\n", tree.files, tree.folders);

  try {
    CountListings();
  } catch (const PlatformError& failure) {
    std::fwprintf(stderr, L"cannot count listings: %ls\n", failure.Message().c_str());
    return 1;
  }
  NullSearchHost host(NewWin32FileSystem());
  SearchDrive(host, argv[1], L"ZEMO.exe");

  long total = 0;
  long least = LONG_MAX;
  long greatest = 0;
  for (const auto& [path, count] : ListingsPerFolder()) {
    total += count;
    least = count < least ? count : least;
    greatest = count > greatest ? count : greatest;
  }
  const long folders = static_cast<long>(ListingsPerFolder().size());
  std::printf("files visited: %ld\n", host.Shown());
  std::printf("FindFirstFileExW listings: %ld in %ld folders, per folder least %ld, greatest %ld\n",
              total, folders, folders == 0 ? 0 : least, greatest);
  return 0;
}
