// The drive search without a window against the floor, side by side in one process: each round
// times one plain walk and one SearchDrive over the same drive, in alternating order, after one
// walk that warms the caches.
//
//   bench_search_throughput <drive letter> [runs, default 5]
// Prints every round, then the medians ("floor ms: T", "search ms: T") and their ratio.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "FloorWalk.h"
#include "NullSearchHost.h"
#include "Stopwatch.h"
#include "discovery/SearchDrive.h"
#include "platform/win32/Win32FileSystem.h"

namespace docrecover::bench {

namespace {

double TimeFloor(const std::wstring& root, long expectedFiles) {
  const Stopwatch clock;
  const WalkCount count = FloorWalk(root);
  const double ms = clock.Milliseconds();
  if (count.files != expectedFiles || count.unreadable != 0) {
    std::fprintf(stderr, "the floor walk saw %ld files, %ld unreadable folders; expected %ld\n",
                 count.files, count.unreadable, expectedFiles);
    std::exit(1);
  }
  return ms;
}

double TimeSearch(const std::wstring& drive, long expectedFiles) {
  NullSearchHost host(NewWin32FileSystem());
  const Stopwatch clock;
  const StringList found = SearchDrive(host, drive, L"ZEMO.exe");
  const double ms = clock.Milliseconds();
  if (host.Shown() != expectedFiles || !found.empty()) {
    std::fprintf(stderr, "the search visited %ld files and found %zu; expected %ld and none\n",
                 host.Shown(), found.size(), expectedFiles);
    std::exit(1);
  }
  return ms;
}

}  // namespace

}  // namespace docrecover::bench

int wmain(int argc, wchar_t** argv) {
  using namespace docrecover::bench;
  if (argc < 2) {
    std::fputs("usage: bench_search_throughput <drive letter> [runs]\n", stderr);
    return 2;
  }
  const std::wstring drive = argv[1];
  const int runs = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 5;
  const std::wstring root = drive + L":\\";

  const WalkCount tree = FloorWalk(root);
  std::printf("tree: %ld files in %ld folders\n", tree.files, tree.folders);
  std::vector<double> floors;
  std::vector<double> searches;
  for (int run = 0; run < runs; ++run) {
    if (run % 2 == 0) {
      floors.push_back(TimeFloor(root, tree.files));
      searches.push_back(TimeSearch(drive, tree.files));
    } else {
      searches.push_back(TimeSearch(drive, tree.files));
      floors.push_back(TimeFloor(root, tree.files));
    }
    std::printf("run %d: floor %.1f ms, search %.1f ms\n", run + 1, floors.back(), searches.back());
  }
  const double floor = Median(floors);
  const double search = Median(searches);
  std::printf("floor ms: %.1f\nsearch ms: %.1f\nratio: %.3f\n", floor, search, search / floor);
  return 0;
}
