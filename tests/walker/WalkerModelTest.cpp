// The walker against a plain reference, over thousands of seeded random trees with empty folders,
// links that loop back to the drive's root, unlistable folders, and folders and files whose path
// cannot be read. A failing seed is named in the failure; WALKER_SEED=<n> replays that one alone.

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "RandomTree.h"
#include "walker/crtDTree.h"

namespace docrecover::testing {
namespace {

constexpr uint32_t kTrees = 1000;  // per pattern: three thousand walks a run

// The seeds a test runs: all of them, or only the one WALKER_SEED names.
struct Seeds {
  uint32_t first = 0;
  uint32_t end = kTrees;
};

Seeds SeedsToRun() {
  const char* replay = std::getenv("WALKER_SEED");
  if (replay == nullptr) {
    return {};
  }
  const auto seed = static_cast<uint32_t>(std::stoul(replay));
  return {seed, seed + 1};
}

// One random case: a disk, the root as the walker is given it, and the same roots for the
// reference.
struct Case {
  std::shared_ptr<MemoryDisk> disk = MemoryDisk::Create();
  std::vector<std::pair<std::wstring, TreeFolder>> roots;
  int32_t settings = 0;
  int form = 0;
};

Case MakeCase(uint32_t seed) {
  std::mt19937 random(seed);
  Case c;
  c.disk->AddDrive(L'C');
  c.disk->AddDrive(L'D');
  c.form = static_cast<int>(seed % 6);
  const int32_t nonzero[] = {1, -1, 256};
  c.settings = random() % 8 == 0 ? nonzero[random() % 3] : 0;
  const int count = 1 + static_cast<int>(random() % 3);
  int budget = 24;  // folders per case: deep enough for six levels, small enough for thousands
  const std::wstring base = c.form == 3 ? L"C:\\rs\\r" : L"C:\\r";
  for (int i = 0; i < (c.form == 4 ? 0 : count); ++i) {
    c.roots.emplace_back(base + std::to_wstring(i), RandomTree(random, 6, budget));
  }
  if (c.form == 4 || c.form == 5) {
    c.roots.emplace_back(L"D:\\", RandomTree(random, 6, budget));
  }
  if (c.form == 5 && c.roots.size() > 3) {
    c.roots.erase(c.roots.begin() + 2, c.roots.end() - 1);
  }
  for (const auto& [path, tree] : c.roots) {
    WriteTree(*c.disk, path, tree);
  }
  return c;
}

// The root in the form the case names; paths, folders and drives all come from the same disk.
TreeRoot RootOf(const Case& c, FileSystemService& fs) {
  switch (c.form) {
    case 0:
      return c.roots[0].first;
    case 1: {
      std::vector<std::wstring> paths;
      for (const auto& root : c.roots) {
        paths.push_back(root.first);
      }
      return paths;
    }
    case 2:
      return fs.GetFolder(c.roots[0].first);
    case 3:
      return fs.GetFolder(L"C:\\rs")->SubFolders();
    case 4:
      return *(fs.Drives().begin() + 1);
    default: {
      TreeRoot::Collection items;
      items.emplace_back(c.roots[0].first);
      if (c.roots.size() > 2) {
        items.emplace_back(fs.GetFolder(c.roots[1].first));
      }
      items.emplace_back(*(fs.Drives().begin() + 1));
      return items;
    }
  }
}

std::vector<Position> Expected(const Case& c) {
  std::vector<std::pair<std::wstring, TreeFolder>> roots = c.roots;
  if (c.form == 0 || c.form == 2) {
    roots.resize(1);
  }
  return Positions(roots, c.settings == 0);
}

std::wstring PathOf(const FolderPtr& folder) {
  return folder ? folder->Path() : L"";
}
std::wstring PathOf(const FilePtr& file) {
  return file ? file->Path() : L"";
}

class WalkerModel : public ::testing::Test {
 protected:
  // Starts a walker on the case's root; the reference of the same case beside it.
  crtDTree Start(const Case& c) {
    crtDTree walker([disk = c.disk] { return NewMemoryFileSystem(disk); });
    const FileSystemPtr fs = NewMemoryFileSystem(c.disk);
    walker.SetRoot(RootOf(c, *fs), c.settings);
    EXPECT_EQ(walker.ErrorNumber(), 0);
    return walker;
  }

  static std::vector<std::wstring> ReadableFiles(const std::vector<Position>& positions) {
    std::vector<std::wstring> files;
    for (const Position& position : positions) {
      for (size_t i = 0; i < position.files.size(); ++i) {
        if (!position.files[i].unreachable) {
          files.push_back(position.filePaths[i]);
        }
      }
    }
    return files;
  }
};

TEST_F(WalkerModel, MoveThenGetGivesEveryReadableFileOnceAndReadsEachFolderOnce) {
  const Seeds seeds = SeedsToRun();
  for (uint32_t seed = seeds.first; seed < seeds.end && !HasFailure(); ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const Case c = MakeCase(seed);
    const std::vector<Position> positions = Expected(c);
    crtDTree walker = Start(c);
    const int64_t readsBefore = c.disk->DirectoryReads();
    const std::vector<std::wstring> expected = ReadableFiles(positions);
    std::vector<std::wstring> seen;
    // One move per file and one more to finish: an extra stop or a walk that never ends fails.
    for (size_t move = 0; move <= expected.size(); ++move) {
      walker.MoveNextFile();
      if (FilePtr file = walker.GetFile()) {
        seen.push_back(file->Path());
      }
      if (walker.Finished()) {
        break;
      }
    }
    ASSERT_TRUE(walker.Finished());
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(walker.GetFile(), nullptr);
    EXPECT_EQ(walker.ErrorNumber(), -3);
    int64_t listed = 0;
    for (const Position& position : positions) {
      EXPECT_EQ(c.disk->DirectoryReads(position.path), position.listed ? 1 : 0) << position.path;
      listed += position.listed ? 1 : 0;
    }
    EXPECT_EQ(c.disk->DirectoryReads() - readsBefore, listed);
  }
}

TEST_F(WalkerModel, GetThenMoveGivesEveryReadableFileOnce) {
  const Seeds seeds = SeedsToRun();
  for (uint32_t seed = seeds.first; seed < seeds.end && !HasFailure(); ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const Case c = MakeCase(seed);
    crtDTree walker = Start(c);
    const std::vector<std::wstring> expected = ReadableFiles(Expected(c));
    std::vector<std::wstring> seen;
    // GetFile finds the first file itself: one move per file ends the walk.
    for (size_t move = 0; move <= expected.size() && !walker.Finished(); ++move) {
      if (FilePtr file = walker.GetFile()) {
        seen.push_back(file->Path());
      }
      walker.MoveNextFile();
    }
    ASSERT_TRUE(walker.Finished());
    EXPECT_EQ(seen, expected);
  }
}

TEST_F(WalkerModel, MixedFolderAndFileMovesFollowTheReference) {
  const Seeds seeds = SeedsToRun();
  for (uint32_t seed = seeds.first; seed < seeds.end && !HasFailure(); ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const Case c = MakeCase(seed);
    crtDTree walker = Start(c);
    ReferenceWalk reference(Expected(c));
    std::mt19937 random(seed ^ 0x9e3779b9u);
    for (int step = 0; step < 60 && !HasFailure(); ++step) {
      const int op = static_cast<int>(random() % 4);
      SCOPED_TRACE("step " + std::to_string(step) + " op " + std::to_string(op));
      switch (op) {
        case 0:
          ASSERT_EQ(PathOf(walker.GetFolder()), reference.GetFolder());
          break;
        case 1:
          walker.MoveNextFolder();
          reference.MoveNextFolder();
          break;
        case 2:
          ASSERT_EQ(PathOf(walker.GetFile()), reference.GetFile());
          break;
        default:
          walker.MoveNextFile();
          reference.MoveNextFile();
          break;
      }
      ASSERT_EQ(walker.ErrorNumber(), reference.ErrorNumber());
      ASSERT_EQ(walker.Finished(), reference.Finished());
    }
  }
}

}  // namespace
}  // namespace docrecover::testing
