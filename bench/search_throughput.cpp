// The drive search without a window against the floor, side by side in one process.
//
//   bench_search_throughput <drive letter> [runs, default 5] [replayed rounds, default 4 x runs]
//
// First the real rounds: each times one plain walk and one SearchDrive over the same drive, in
// alternating order, after one walk that warms the caches. Prints every round, then the medians
// ("floor ms: T", "search ms: T"), their ratio, and the program's own cost per file: the median
// over the rounds of (search - floor) / files ("own cost us per file: C").
//
// Then the replayed rounds, by default four times as many, with every directory listing served from
// memory (ListingReplay.h): only the program's own work is left, so the own cost is measured
// without the noise of the system's directory reads, and split into the layers that make it up.
// Each round times four walks of the same tree, in rotating order: the floor; the Win32 service
// alone (a recursion over SubFolders and Files); the walker over the service (MoveNextFile and
// GetFile); and SearchDrive over the walker. Prints each layer's median, best and heap allocations
// per file ("replayed <layer> ms: T, best T, allocations per file: A"), and "replayed own cost us
// per file: C, best B": the median over the rounds of (search - floor) / files as above, and the
// difference of the two best times, which a busy machine can only make longer, per file.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "FloorWalk.h"
#include "ListingReplay.h"
#include "NullSearchHost.h"
#include "Stopwatch.h"
#include "discovery/SearchDrive.h"
#include "platform/PlatformError.h"
#include "platform/win32/Win32FileSystem.h"
#include "walker/crtDTree.h"

namespace docrecover::bench {

namespace {

long FloorFiles(const std::wstring& drive) {
  const WalkCount count = FloorWalk(drive + L":\\");
  return count.unreadable == 0 ? count.files : -1;
}

long ServiceFiles(Folder& folder) {
  long files = folder.Files().Count();
  for (const FolderPtr& subfolder : folder.SubFolders()) {
    files += subfolder->IsLink() ? 0 : ServiceFiles(*subfolder);
  }
  return files;
}

long ServiceFiles(const std::wstring& drive) {
  return ServiceFiles(*NewWin32FileSystem()->GetFolder(drive + L":\\"));
}

long WalkerFiles(const std::wstring& drive) {
  crtDTree walker([] { return NewWin32FileSystem(); });
  walker.SetRoot(NewWin32FileSystem()->GetFolder(drive + L":\\"), 0);
  long files = 0;
  do {
    walker.MoveNextFile();
    files += walker.GetFile() != nullptr ? 1 : 0;
  } while (!walker.Finished());
  return files;
}

long SearchFiles(const std::wstring& drive) {
  NullSearchHost host(NewWin32FileSystem());
  return SearchDrive(host, drive, L"ZEMO.exe").empty() ? host.Shown() : -1;
}

struct Layer {
  using Walk = long (*)(const std::wstring& drive);
  Layer(const char* layerName, Walk layerWalk) : name(layerName), walk(layerWalk) {}

  const char* name;
  Walk walk;  // walks the whole drive, and gives the files it saw, or -1 when it failed
  std::vector<double> ms;
  double allocationsPerFile = 0;
};

// Times one walk of a layer; stops the program when it did not see every file of the tree.
void Time(Layer& layer, const std::wstring& drive, long expectedFiles) {
  const std::int64_t allocationsBefore = Allocations();
  const Stopwatch clock;
  const long files = layer.walk(drive);
  layer.ms.push_back(clock.Milliseconds());
  layer.allocationsPerFile =
      static_cast<double>(Allocations() - allocationsBefore) / static_cast<double>(expectedFiles);
  if (files != expectedFiles) {
    std::fprintf(stderr, "the %s walk saw %ld files (-1: failed); expected %ld\n", layer.name,
                 files, expectedFiles);
    std::exit(1);
  }
}

// The median over the rounds of (search - floor) / files, in microseconds.
double OwnCostMicroseconds(const Layer& floor, const Layer& search, long files) {
  std::vector<double> costs;
  for (size_t round = 0; round < floor.ms.size(); ++round) {
    costs.push_back(1000 * (search.ms[round] - floor.ms[round]) / static_cast<double>(files));
  }
  return Median(costs);
}

}  // namespace

}  // namespace docrecover::bench

int wmain(int argc, wchar_t** argv) {
  using namespace docrecover::bench;
  if (argc < 2) {
    std::fputs("usage: bench_search_throughput <drive letter> [runs] [replayed rounds]\n", stderr);
    return 2;
  }
  const std::wstring drive = argv[1];
  const int runs = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 5;
  const int replayedRuns = argc > 3 ? std::wcstol(argv[3], nullptr, 10) : 4 * runs;
  if (runs < 1 || replayedRuns < 1) {
    std::fputs("bench_search_throughput: at least one round of each kind\n", stderr);
    return 2;
  }

  const WalkCount tree = FloorWalk(drive + L":\\");
  std::printf("tree: %ld files in %ld folders\n", tree.files, tree.folders);
  Layer floor{"floor", FloorFiles};
  Layer search{"search", SearchFiles};
  for (int run = 0; run < runs; ++run) {
    Time(run % 2 == 0 ? floor : search, drive, tree.files);
    Time(run % 2 == 0 ? search : floor, drive, tree.files);
    std::printf("run %d: floor %.1f ms, search %.1f ms\n", run + 1, floor.ms.back(),
                search.ms.back());
  }
  const double floorMs = Median(floor.ms);
  const double searchMs = Median(search.ms);
  std::printf("floor ms: %.1f\nsearch ms: %.1f\nratio: %.3f\nown cost us per file: %.3f\n", floorMs,
              searchMs, searchMs / floorMs, OwnCostMicroseconds(floor, search, tree.files));

  try {
    ReplayListings();
  } catch (const docrecover::PlatformError& failure) {
    std::fwprintf(stderr, L"cannot replay listings: %ls\n", failure.Message().c_str());
    return 1;
  }
  std::vector<Layer> layers = {{"floor", FloorFiles},
                               {"service", ServiceFiles},
                               {"walker", WalkerFiles},
                               {"search", SearchFiles}};
  Time(layers[0], drive, tree.files);  // lists every folder once, for the rounds to replay
  layers[0].ms.clear();
  for (int run = 0; run < replayedRuns; ++run) {
    std::printf("replayed run %d:", run + 1);
    for (size_t i = 0; i < layers.size(); ++i) {
      Layer& layer = layers[(i + run) % layers.size()];
      Time(layer, drive, tree.files);
      std::printf(" %s %.1f ms", layer.name, layer.ms.back());
    }
    std::printf("\n");
  }
  for (const Layer& layer : layers) {
    std::printf("replayed %s ms: %.1f, best %.1f, allocations per file: %.2f\n", layer.name,
                Median(layer.ms), Best(layer.ms), layer.allocationsPerFile);
  }
  std::printf("replayed own cost us per file: %.3f, best %.3f\n",
              OwnCostMicroseconds(layers[0], layers[3], tree.files),
              1000 * (Best(layers[3].ms) - Best(layers[0].ms)) / static_cast<double>(tree.files));
  return 0;
}
