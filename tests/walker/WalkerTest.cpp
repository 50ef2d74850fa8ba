// The walker over thousands of seeded random trees, with the faults a disk has folded in, against
// what each client pattern must see there; and SetRoot's forms of root, one row each.

#include <gtest/gtest.h>

#include <random>

#include "platform/PlatformError.h"
#include "support/MemoryFileSystem.h"
#include "walker/crtDTree.h"

namespace docrecover::testing {
namespace {

using Texts = std::vector<std::wstring>;

// What a walk must give, written from the rules a client relies on.
struct Expected {
  Texts folders;     // the readable folders, in pre-order
  Texts firstFiles;  // for each of them, what GetFile gives there ("" for none)
  Texts files;       // the readable files of the listed folders, in the same order
  Texts listed;      // the folders whose listing the walk reads, each once, in pre-order
};

enum Kind { kPlain, kLink, kUnlistable, kUnreachable, kCloud };

// Makes a folder of the given kind at path, with a random tree below it at most depth levels deep
// and budget folders large: empty folders, links that loop back to the drive's root (with Wine's
// tag 0 or a link's), cloud folders (reparse points that are ordinary folders), folders that
// cannot be listed or reached, files that cannot be reached. walked gets what a walk must see of
// it; null when the walk sees nothing of it.
void Grow(std::mt19937& random, MemoryDisk& disk, const std::wstring& path, Kind kind, int depth,
          int& budget, bool recurse, Expected* walked) {
  // Wine's Unix link (tag 0), a symbolic link, a junction, a WSL link; two providers' cloud
  // placeholders and deduplicated data, which are ordinary folders.
  const uint32_t linkTags[] = {0, reparse_tag::kSymlink, reparse_tag::kMountPoint, 0xA000001D};
  const uint32_t cloudTags[] = {reparse_tag::kCloud, 0x9000101A, 0x80000013};
  kind == kLink    ? disk.AddLink(path, path.substr(0, 2), linkTags[random() % 4])
  : kind == kCloud ? disk.AddLink(path, path, cloudTags[random() % 3])
                   : disk.AddFolder(path);
  disk.SetUnlistable(path, kind == kUnlistable);
  disk.SetUnreachable(path, kind == kUnreachable);
  if (walked != nullptr && kind != kUnreachable) {
    walked->folders.push_back(path);
    walked->firstFiles.emplace_back();  // its first file, once known to be readable
  }
  const bool listed = kind == kPlain || kind == kCloud;
  if (walked != nullptr && listed) {
    walked->listed.push_back(path);
  }
  for (int i = 0, count = kind == kLink ? 0 : static_cast<int>(random() % 4); i < count; ++i) {
    const std::wstring file = path + L"\\f" + std::to_wstring(i);
    disk.AddFile(file);
    if (random() % 10 == 0) {
      disk.SetUnreachable(file);
    } else if (walked != nullptr && listed) {
      walked->files.push_back(file);
      walked->firstFiles.back() = i == 0 ? file : walked->firstFiles.back();
    }
  }
  for (int i = 0, count = kind == kLink ? 0 : static_cast<int>(random() % 4);
       i < count && depth > 0 && budget > 0; ++i, --budget) {
    const Kind sub = random() % 4 == 0 ? static_cast<Kind>(1 + random() % 4) : kPlain;
    Grow(random, disk, path + L"\\d" + std::to_wstring(i), sub, depth - 1, budget, recurse,
         listed && recurse ? walked : nullptr);
  }
}

template <class Item>
std::wstring PathOf(const std::shared_ptr<Item>& item) {
  return item ? item->Path() : L"";
}

enum Pattern { kMoveThenGet, kGetThenMove, kFolderCursor };

TEST(WalkerModel, EachClientPatternSeesTheTreeAndTheWalkReadsEachFolderOnce) {
  // A failing seed is named in the failure.
  for (uint32_t seed = 0; seed < 500 && !HasFailure(); ++seed) {
    for (const Pattern pattern : {kMoveThenGet, kGetThenMove, kFolderCursor}) {
      SCOPED_TRACE("seed " + std::to_string(seed) + ", pattern " + std::to_string(pattern));
      std::mt19937 random(seed);
      const auto disk = std::make_shared<MemoryDisk>();
      const int32_t rootsOnly[] = {1, -1, 256};
      const int32_t settings = random() % 8 == 0 ? rootsOnly[random() % 3] : 0;
      Texts roots;
      Expected expected;
      int budget = 24;  // folders per case: deep enough for six levels, small enough for many
      for (int i = 0, count = 1 + static_cast<int>(random() % 3); i < count; ++i) {
        roots.push_back(L"C:\\r" + std::to_wstring(i));
        Grow(random, *disk, roots.back(), kPlain, 6, budget, settings == 0, &expected);
      }
      crtDTree walker([disk] { return NewMemoryFileSystem(disk); });
      walker.SetRoot(roots, settings);
      ASSERT_EQ(walker.ErrorNumber(), 0);
      Texts seen;
      Texts firstFiles;
      // One step per item and one more to finish: an extra stop or a walk that never ends fails.
      const Texts& items = pattern == kFolderCursor ? expected.folders : expected.files;
      for (size_t step = 0; step <= items.size() && !walker.Finished(); ++step) {
        if (pattern == kMoveThenGet) {  // as the drive search does
          walker.MoveNextFile();
          ASSERT_EQ(walker.ErrorNumber(), 0);
          if (FilePtr file = walker.GetFile()) {
            seen.push_back(file->Path());
            EXPECT_EQ(PathOf(walker.GetFolder()),
                      FileSystemService::GetParentFolderName(seen.back()));
          }
        } else if (pattern == kGetThenMove) {
          if (FilePtr file = walker.GetFile()) {
            seen.push_back(file->Path());
          } else {
            ASSERT_EQ(walker.ErrorNumber(), -4);  // no file here: the next move finds one
          }
          walker.MoveNextFile();
        } else {
          seen.push_back(PathOf(walker.GetFolder()));
          firstFiles.push_back(PathOf(walker.GetFile()));  // loads the files, moves nothing
          walker.MoveNextFolder();
        }
      }
      ASSERT_TRUE(walker.Finished());
      EXPECT_EQ(seen, items);
      EXPECT_EQ(firstFiles, pattern == kFolderCursor ? expected.firstFiles : Texts{});
      EXPECT_EQ(walker.GetFile(), nullptr);
      EXPECT_EQ(walker.ErrorNumber(), -3);
      walker.MoveNextFolder();
      EXPECT_EQ(walker.ErrorNumber(), -3);
      EXPECT_EQ(disk->DirectoryReads(), expected.listed);
    }
  }
}

TEST(WalkerRoots, EachFormOfRootGivesItsCodeAndItsWalk) {
  const auto disk = std::make_shared<MemoryDisk>();
  for (const wchar_t* file : {L"C:\\R\\f1", L"C:\\R\\A\\f2", L"C:\\S\\f3", L"E:\\e"}) {
    disk->AddFile(file);
  }
  disk->AddDrive(L'F');
  disk->SetDriveNotReady(L'F');
  const FileSystemPtr fs = NewMemoryFileSystem(disk);
  const auto drive = [&](int index) { return *(fs->Drives().begin() + index); };  // C, E, F
  const std::wstring f1 = L"C:\\R\\f1", f2 = L"C:\\R\\A\\f2", f3 = L"C:\\S\\f3", e = L"E:\\e";
  using Items = TreeRoot::Collection;  // a general collection
  const FolderPtr a = fs->GetFolder(L"C:\\R\\A");
  const struct {
    const char* what;
    TreeRoot root;
    int32_t settings;  // nonzero: the roots only
    int32_t code;
    Texts files;
  } rows[] = {
      {"a path", L"C:\\R", 0, 0, {f1, f2}},
      {"a missing path", L"C:\\missing", 0, -1, {}},
      {"the path of a file", f1, 0, -1, {}},
      {"paths", Texts{L"C:\\R", L"C:\\S"}, 0, 0, {f1, f2, f3}},
      {"paths, one missing", Texts{L"C:\\R", L"C:\\gone"}, 0, -1, {}},
      {"no paths", Texts{}, 0, -1, {}},
      {"a folder", fs->GetFolder(L"C:\\R"), 1, 0, {f1}},
      {"folders", fs->GetFolder(L"C:\\")->SubFolders(), -1, 0, {f1, f3}},
      {"no folders", a->SubFolders(), 0, -1, {}},
      {"a drive", drive(1), 256, 0, {e}},
      {"a number", UnsupportedRoot(L"Long"), 0, -2, {}},
      {"no object", FolderPtr{}, 0, -2, {}},
      {"items: path, folder, drive", Items{L"C:\\S", a, drive(1)}, 0, 0, {f3, f2, e}},
      {"no items", Items{}, 0, -1, {}},
      {"items: path, number", Items{L"C:\\R", UnsupportedRoot()}, 0, -2, {}},
      {"items: paths", Items{Texts{L"C:\\R"}}, 0, -2, {}},
      {"items: drive without media", Items{drive(2)}, 0, -1, {}},
  };
  crtDTree walker([&] { return NewMemoryFileSystem(disk); });
  EXPECT_EQ(walker.ErrorNumber(), 0);
  // One walker for every row, the first met midway through a walk: each SetRoot starts afresh.
  walker.SetRoot(Texts{L"C:\\R", L"C:\\S"}, 0);
  walker.MoveNextFile();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    walker.SetRoot(row.root, row.settings);
    EXPECT_EQ(walker.ErrorNumber(), row.code);
    Texts files;
    for (int step = 0; step < 5 && !walker.Finished(); ++step) {
      walker.MoveNextFile();
      if (FilePtr file = walker.GetFile()) {
        files.push_back(file->Path());
      }
    }
    EXPECT_EQ(files, row.files);
    EXPECT_EQ(walker.Finished(), row.code == 0);  // a walk that did not start never finishes
    EXPECT_EQ(walker.GetFolder(), nullptr);
    EXPECT_EQ(walker.ErrorNumber(), -3);
  }
  // A single drive whose root cannot be read is the caller's failure.
  EXPECT_THROW(walker.SetRoot(drive(2), 0), PlatformError);
  EXPECT_EQ(walker.ErrorNumber(), -1);
  // The folder under the cursor turns unreadable: it is not given.
  walker.SetRoot(L"C:\\S", 0);
  disk->SetUnreachable(L"C:\\S");
  EXPECT_EQ(walker.GetFolder(), nullptr);
  EXPECT_EQ(walker.ErrorNumber(), -1);
}

}  // namespace
}  // namespace docrecover::testing
