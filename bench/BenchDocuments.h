#pragma once

// What the copy benchmarks share: their folder argument, a window that is not there, and the list a
// build would give a folder's documents.

#include <string>

#include "platform/Desktop.h"
#include "transfer/DocumentManifest.h"

namespace docrecover::bench {

// The folder a benchmark is given (a drive root such as F:\ or a path), without a trailing
// backslash.
inline std::wstring FolderArgument(std::wstring folder) {
  if (!folder.empty() && folder.back() == L'\\') {
    folder.pop_back();
  }
  return folder;
}

// A window that is not there: the copy's progress and waits cost nothing here.
struct NoWindow final : ProgressView {
  void ShowMessage2(const std::wstring&) override {}
  void KeepAlive() override {}
  void Pause(int32_t) override {}
};

// The list a build gives the files directly in folder: each one's name, size and SHA-256, in the
// order of the names (the benchmarks' names are ASCII, where it is the order of their bytes).
DocumentManifest ListOf(FileSystemService& fileSystem, const std::wstring& folder);

}  // namespace docrecover::bench
