#pragma once

// Seeded random folder trees for the walker's model test, and the plain reference walk they are
// compared with. The reference knows nothing of the walker: it is a list of folder positions in
// pre-order, and a cursor over them written from the rules a client relies on.

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "support/MemoryFileSystem.h"

namespace docrecover::testing {

struct TreeFile {
  std::wstring name;
  bool unreachable = false;  // its Path cannot be read
};

struct TreeFolder {
  std::wstring name;
  bool link = false;         // a link back to its drive's root: never entered
  bool unlistable = false;   // its Path reads, its listing fails
  bool unreachable = false;  // its Path (and so its listing) fails
  std::vector<TreeFile> files;
  std::vector<TreeFolder> folders;
};

// A tree of up to `depth` levels below its root and at most `budget` folders (which it spends).
TreeFolder RandomTree(std::mt19937& random, int depth, int& budget);
void WriteTree(MemoryDisk& disk, const std::wstring& rootPath, const TreeFolder& tree);

// One folder position of a walk, in pre-order.
struct Position {
  std::wstring path;
  bool readable = true;
  bool listed = true;  // its listing is read: reachable, listable and not a link
  std::vector<TreeFile> files;
  std::vector<std::wstring> filePaths;
};

// The positions a walk over these roots passes, in order. recurse false keeps the roots only.
std::vector<Position> Positions(const std::vector<std::pair<std::wstring, TreeFolder>>& roots,
                                bool recurse);

// The reference cursor. Results are paths ("" for none) and outcome codes, as the walker's.
class ReferenceWalk {
 public:
  explicit ReferenceWalk(std::vector<Position> positions) : positions_(std::move(positions)) {}

  std::wstring GetFolder();
  void MoveNextFolder();
  std::wstring GetFile();
  void MoveNextFile();
  bool Finished() const { return done_; }
  int32_t ErrorNumber() const { return error_; }

 private:
  static constexpr int kNotLoaded = -2;
  static constexpr int kNoFile = -1;

  void Load();
  bool Readable(size_t folder, int file) const;

  std::vector<Position> positions_;
  size_t folder_ = 0;
  int file_ = kNotLoaded;
  bool done_ = false;
  int32_t error_ = 0;
};

}  // namespace docrecover::testing
