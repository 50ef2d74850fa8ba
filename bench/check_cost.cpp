// What the checks of the documents against the program's list cost, beside the copy they guard,
// with the real Win32 service. Each round times, in one process:
//   sizes         the start-up check of the listed names and sizes
//   digests       the digest pass as the copy phase begins: each document read once and hashed
//   checked copy  CopyAllFiles with the list: each new copy read and hashed again before its rename
//   copy          CopyAllFiles without a list, as a program built without one copies
//   re-read       the new copies read and hashed once more, fresh from the cache as the check
//                 before each rename finds them: that check alone
// The two copies take turns at going first, each into a package folder of its own that holds
// older copies. The list is made of the documents before the rounds, as a build makes it.
//
//   bench_check_cost <folder> [runs, default 5]
// <folder> holds "Docs" (the documents), "Package checked" and "Package plain" (older copies).
// Prints every round, then the medians: "sizes ms: T", "digests ms: T", "checked copy ms: T",
// "copy ms: T", "re-read ms: T".

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchDocuments.h"
#include "Stopwatch.h"
#include "app/DocumentCheck.h"
#include "platform/PlatformError.h"
#include "platform/win32/Win32FileSystem.h"
#include "transfer/CopyAllFiles.h"

namespace docrecover::bench {

namespace {

struct Rounds {
  std::vector<double> sizes, digests, checked, plain, reread;
};

// One round of every measurement, its times added to rounds.
void Round(FileSystemService& fileSystem, const DocumentManifest& documents,
           const std::wstring& folder, int run, Rounds& rounds) {
  NoWindow window;
  const std::wstring docs = folder + L"\\Docs";
  const std::wstring checked = folder + L"\\Package checked";
  Stopwatch clock;
  CheckNamesAndSizes(fileSystem, documents, docs);
  rounds.sizes.push_back(clock.Milliseconds());
  clock = {};
  CheckDigests(fileSystem, window, documents, docs);
  rounds.digests.push_back(clock.Milliseconds());
  for (int turn = 0; turn < 2; ++turn) {
    clock = {};
    if ((run + turn) % 2 == 0) {
      CopyAllFiles(fileSystem, window, docs, checked, &documents);
      rounds.checked.push_back(clock.Milliseconds());
    } else {
      CopyAllFiles(fileSystem, window, docs, folder + L"\\Package plain");
      rounds.plain.push_back(clock.Milliseconds());
    }
  }
  clock = {};
  CheckDigests(fileSystem, window, documents, checked);
  rounds.reread.push_back(clock.Milliseconds());
}

}  // namespace

}  // namespace docrecover::bench

int wmain(int argc, wchar_t** argv) {
  using namespace docrecover;
  using namespace docrecover::bench;
  if (argc < 2) {
    std::fputs("usage: bench_check_cost <folder> [runs]\n", stderr);
    return 2;
  }
  const std::wstring folder = FolderArgument(argv[1]);
  const int runs = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 5;
  const FileSystemPtr fileSystem = NewWin32FileSystem();
  Rounds rounds;
  try {
    const DocumentManifest documents = ListOf(*fileSystem, folder + L"\\Docs");
    uint64_t bytes = 0;
    for (const DocumentEntry& document : documents) {
      bytes += document.size;
    }
    std::printf("documents: %zu, %.1f MB\n", documents.size(), bytes / 1e6);
    for (int run = 0; run < runs; ++run) {
      Round(*fileSystem, documents, folder, run, rounds);
      std::printf(
          "run %d: sizes %.1f ms, digests %.1f ms, checked copy %.1f ms, copy %.1f ms, "
          "re-read %.1f ms\n",
          run + 1, rounds.sizes.back(), rounds.digests.back(), rounds.checked.back(),
          rounds.plain.back(), rounds.reread.back());
    }
  } catch (const DocumentsRefused& refused) {
    std::fwprintf(stderr, L"refused: %ls\n", refused.Problem().c_str());
    return 1;
  } catch (const PlatformError& failure) {
    std::fwprintf(stderr, L"%ls: error %lu\n", failure.Message().c_str(), failure.Number());
    return 1;
  }
  std::printf(
      "sizes ms: %.1f\ndigests ms: %.1f\nchecked copy ms: %.1f\ncopy ms: %.1f\n"
      "re-read ms: %.1f\n",
      Median(rounds.sizes), Median(rounds.digests), Median(rounds.checked), Median(rounds.plain),
      Median(rounds.reread));
  return 0;
}
