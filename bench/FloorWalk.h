#pragma once

// The floor of every search: the plainest recursive FindFirstFileExW walk, which any search of a
// drive must at least make. It follows the walker's rule for links (visited, not entered), so both
// cover the same folders and files.

#include <string>

namespace docrecover::bench {

struct WalkCount {
  long folders = 0;
  long files = 0;
  long unreadable = 0;  // folders that could not be listed (each reported on stderr)
};

// Walks everything beneath root ("D:\" or a folder path).
WalkCount FloorWalk(const std::wstring& root);

}  // namespace docrecover::bench
