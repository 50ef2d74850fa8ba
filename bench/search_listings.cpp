// Directory reads over one whole drive search without a window, counted twice: what the walker
// asks the service for (SubFolders and Files, per folder, by a counting service around the Win32
// one), and what reaches the system (FindFirstFileExW listings per folder).
//
//   bench_search_listings <drive letter>
// Prints the tree's size, then for each count its least and greatest value per folder, and how
// many folders of the tree it covers.

#include <climits>
#include <cstdio>
#include <memory>
#include <string>

#include "CountingFileSystem.h"
#include "FloorWalk.h"
#include "ListingCounter.h"
#include "NullSearchHost.h"
#include "discovery/SearchDrive.h"
#include "platform/PlatformError.h"
#include "platform/win32/Win32FileSystem.h"

namespace docrecover::bench {

namespace {

struct Range {
  long least = LONG_MAX;
  long greatest = 0;
  long folders = 0;
  long total = 0;

  void Add(long value) {
    least = value < least ? value : least;
    greatest = value > greatest ? value : greatest;
    ++folders;
    total += value;
  }
  void Print(const char* what) const {
    std::printf("%s: %ld in %ld folders, per folder least %ld, greatest %ld\n", what, total,
                folders, folders == 0 ? 0 : least, greatest);
  }
};

}  // namespace

}  // namespace docrecover::bench

int wmain(int argc, wchar_t** argv) {
  using namespace docrecover;
  using namespace docrecover::bench;
  if (argc != 2) {
    std::fputs("usage: bench_search_listings <drive letter>\n", stderr);
    return 2;
  }
  const WalkCount tree = FloorWalk(std::wstring(argv[1]) + L":\\");
  std::printf("tree: %ld files in %ld folders\n", tree.files, tree.folders);

  const auto counting = std::make_shared<CountingFileSystem>(NewWin32FileSystem());
  try {
    CountListings();
  } catch (const PlatformError& failure) {
    std::fwprintf(stderr, L"cannot count listings: %ls\n", failure.Message().c_str());
    return 1;
  }
  NullSearchHost host(counting);
  SearchDrive(host, argv[1], L"ZEMO.exe");
  // Copied at once: the summary itself must not add to what it summarises.
  const std::map<std::wstring, long> listings = ListingsPerFolder();

  Range subFolders;
  Range files;
  long askedNotListed = 0;
  for (const auto& [path, reads] : counting->Counts()) {
    subFolders.Add(reads.subFolders);
    files.Add(reads.files);
    askedNotListed += listings.count(path) == 0 ? 1 : 0;
  }
  Range listed;
  long listedNotAsked = 0;
  for (const auto& [path, count] : listings) {
    listed.Add(count);
    listedNotAsked += counting->Counts().count(path) == 0 ? 1 : 0;
  }
  std::printf("files visited: %ld\n", host.Shown());
  subFolders.Print("SubFolders asked");
  files.Print("Files asked");
  listed.Print("FindFirstFileExW listings");
  std::printf("folders asked but never listed: %ld, listed but never asked: %ld\n", askedNotListed,
              listedNotAsked);
  return 0;
}
