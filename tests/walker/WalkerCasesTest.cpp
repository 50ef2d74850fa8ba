// What the model test does not reach: how SetRoot judges its roots, what reaches its caller,
// a walker used again, cursors with no walk, and a listing that changes under the walker.

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "platform/PlatformError.h"
#include "support/MemoryFileSystem.h"
#include "walker/crtDTree.h"

namespace docrecover::testing {
namespace {

class WalkerCases : public ::testing::Test {
 public:
  WalkerCases() {
    disk->AddDrive(L'C');
    disk->AddFile(L"C:\\R\\f1.txt");
    disk->AddFile(L"C:\\R\\A\\f2.txt");
    disk->AddFile(L"C:\\S\\f3.txt");
    disk->AddDrive(L'E', drive_type::kRemovable);
    disk->AddFile(L"E:\\e.txt");
  }

  DrivePtr DriveNamed(wchar_t letter) {
    for (const DrivePtr& drive : fs->Drives()) {
      if (drive->DriveLetter()[0] == letter) {
        return drive;
      }
    }
    return nullptr;
  }

  std::vector<std::wstring> AllFiles() {
    std::vector<std::wstring> paths;
    while (true) {
      walker.MoveNextFile();
      if (FilePtr file = walker.GetFile()) {
        paths.push_back(file->Path());
      }
      if (walker.Finished()) {
        return paths;
      }
    }
  }

  std::shared_ptr<MemoryDisk> disk = MemoryDisk::Create();
  FileSystemPtr fs = NewMemoryFileSystem(disk);
  crtDTree walker{[this] { return NewMemoryFileSystem(disk); }};
};

TEST_F(WalkerCases, SetRootJudgesEachFormOfRoot) {
  struct Row {
    const char* what;
    std::function<TreeRoot(WalkerCases&)> root;
    int32_t code;
  };
  const Row rows[] = {
      {"existing path", [](auto&) { return TreeRoot(L"C:\\R"); }, 0},
      {"missing path", [](auto&) { return TreeRoot(L"C:\\missing"); }, -1},
      {"path of a file", [](auto&) { return TreeRoot(L"C:\\R\\f1.txt"); }, -1},
      {"one path of two missing",
       [](auto&) {
         return TreeRoot(std::vector<std::wstring>{L"C:\\R", L"C:\\gone"});
       },
       -1},
      {"empty path list", [](auto&) { return TreeRoot(std::vector<std::wstring>{}); }, -1},
      {"empty folder collection",
       [](auto& t) { return TreeRoot(t.fs->GetFolder(L"C:\\R\\A")->SubFolders()); }, -1},
      {"a number", [](auto&) { return TreeRoot(UnsupportedRoot{L"Long"}); }, -2},
      {"no object", [](auto&) { return TreeRoot(FolderPtr{}); }, -2},
      {"empty collection", [](auto&) { return TreeRoot(TreeRoot::Collection{}); }, -1},
      {"collection: path then number",
       [](auto&) {
         return TreeRoot(TreeRoot::Collection{L"C:\\R", UnsupportedRoot{L"Integer"}});
       },
       -2},
      {"collection holding a path list",
       [](auto&) { return TreeRoot(TreeRoot::Collection{std::vector<std::wstring>{L"C:\\R"}}); },
       -2},
      {"collection: drive without a readable root",
       [](auto& t) {
         t.disk->SetDriveReadable(L'E', false);
         return TreeRoot(TreeRoot::Collection{t.DriveNamed(L'E')});
       },
       -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    disk->SetDriveReadable(L'E', true);
    walker.SetRoot(row.root(*this), 0);
    EXPECT_EQ(walker.ErrorNumber(), row.code);
    EXPECT_FALSE(walker.Finished());
    EXPECT_EQ(walker.GetFolder() != nullptr, row.code == 0);
    EXPECT_EQ(walker.ErrorNumber(), row.code == 0 ? 0 : -3);
  }
}

TEST_F(WalkerCases, AServiceThatCannotBeMadeGivesNoRootAndIsAskedForAgain) {
  struct Row {
    const char* what;
    std::function<FileSystemPtr()> failing;
  };
  const Row rows[] = {
      {"no object", [] { return FileSystemPtr{}; }},
      {"a failure", []() -> FileSystemPtr { throw PlatformError(error::kAccessDenied, L"no"); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    int made = 0;
    crtDTree fresh(
        [&]() -> FileSystemPtr { return ++made == 1 ? row.failing() : NewMemoryFileSystem(disk); });
    fresh.SetRoot(L"C:\\R", 0);
    EXPECT_EQ(fresh.ErrorNumber(), -1);
    fresh.SetRoot(L"C:\\R", 0);
    EXPECT_EQ(fresh.ErrorNumber(), 0);
    fresh.SetRoot(L"C:\\S", 0);
    EXPECT_EQ(made, 2);  // once made, the service is kept
  }
}

TEST_F(WalkerCases, AnUnsupportedRootCannotPassForASupportedForm) {
  for (const wchar_t* form :
       {L"String", L"String()", L"Folder", L"Folders", L"Drive", L"Collection"}) {
    EXPECT_THROW(UnsupportedRoot{form}, std::invalid_argument);
  }
}

TEST_F(WalkerCases, TheFolderUnderTheCursorTurnsUnreadable) {
  const FolderPtr r = fs->GetFolder(L"C:\\R");
  walker.SetRoot(TreeRoot::Collection{r, L"C:\\S"}, 1);
  disk->SetUnreachable(L"C:\\R");
  EXPECT_EQ(walker.GetFolder(), nullptr);
  EXPECT_EQ(walker.ErrorNumber(), -1);
  EXPECT_EQ(walker.GetFile(), nullptr);
  EXPECT_EQ(walker.ErrorNumber(), -4);
  walker.MoveNextFolder();
  EXPECT_EQ(walker.ErrorNumber(), 0);
  EXPECT_EQ(walker.GetFolder()->Path(), L"C:\\S");
}

TEST_F(WalkerCases, AWalkOfFoldersOnlyReadsEachFolderOnceAndListsNoFile) {
  disk->AddLink(L"C:\\R\\A\\loop", L"C:\\R");
  walker.SetRoot(L"C:\\", 0);
  std::vector<std::wstring> folders;
  for (int guard = 0; guard < 100 && !walker.Finished(); ++guard) {
    folders.push_back(walker.GetFolder()->Path());
    walker.MoveNextFolder();
  }
  EXPECT_EQ(folders, (std::vector<std::wstring>{L"C:\\", L"C:\\R", L"C:\\R\\A", L"C:\\R\\A\\loop",
                                                L"C:\\S"}));
  for (const wchar_t* folder : {L"C:\\", L"C:\\R", L"C:\\R\\A", L"C:\\S"}) {
    EXPECT_EQ(disk->DirectoryReads(folder), 1) << folder;
  }
  EXPECT_EQ(disk->DirectoryReads(), 4);  // the link is never read
  EXPECT_EQ(disk->Calls(Op::kFiles), 0);
}

TEST_F(WalkerCases, CollectionRootsAreWalkedInTheirOrder) {
  walker.SetRoot(TreeRoot::Collection{L"C:\\S", fs->GetFolder(L"C:\\R\\A"), DriveNamed(L'E')}, 0);
  ASSERT_EQ(walker.ErrorNumber(), 0);
  EXPECT_EQ(AllFiles(),
            (std::vector<std::wstring>{L"C:\\S\\f3.txt", L"C:\\R\\A\\f2.txt", L"E:\\e.txt"}));
}

TEST_F(WalkerCases, AnUnreadableDriveRootReachesTheCaller) {
  disk->SetDriveReadable(L'E', false);
  const DrivePtr drive = DriveNamed(L'E');
  walker.SetRoot(L"C:\\R", 0);
  EXPECT_THROW(walker.SetRoot(drive, 0), PlatformError);
  EXPECT_EQ(walker.ErrorNumber(), -1);
  EXPECT_FALSE(walker.Finished());
  EXPECT_EQ(walker.GetFile(), nullptr);  // nothing of the earlier walk shows
  EXPECT_EQ(walker.ErrorNumber(), -3);
}

TEST_F(WalkerCases, NonzeroSettingsKeepTheWalkAtTheRoots) {
  for (int32_t settings : {1, -1, 256}) {
    walker.SetRoot(std::vector<std::wstring>{L"C:\\R", L"C:\\S"}, settings);
    EXPECT_EQ(AllFiles(), (std::vector<std::wstring>{L"C:\\R\\f1.txt", L"C:\\S\\f3.txt"}));
  }
  walker.SetRoot(L"C:\\R", 0);
  EXPECT_EQ(AllFiles(), (std::vector<std::wstring>{L"C:\\R\\f1.txt", L"C:\\R\\A\\f2.txt"}));
}

TEST_F(WalkerCases, ASecondSetRootStartsAfresh) {
  walker.SetRoot(L"C:\\R", 0);
  walker.MoveNextFile();
  ASSERT_EQ(walker.GetFile()->Path(), L"C:\\R\\f1.txt");
  walker.SetRoot(L"C:\\S", 0);
  EXPECT_EQ(walker.GetFolder()->Path(), L"C:\\S");
  EXPECT_EQ(AllFiles(), (std::vector<std::wstring>{L"C:\\S\\f3.txt"}));
}

TEST_F(WalkerCases, CursorsWithoutAWalkChangeNothing) {
  EXPECT_EQ(walker.ErrorNumber(), 0);  // a new walker
  walker.MoveNextFile();
  EXPECT_EQ(walker.ErrorNumber(), -3);
  walker.SetRoot(L"C:\\S", 0);
  AllFiles();
  ASSERT_TRUE(walker.Finished());
  const int64_t calls = disk->Calls();
  walker.MoveNextFolder();
  EXPECT_EQ(walker.ErrorNumber(), -3);
  walker.MoveNextFile();
  EXPECT_EQ(walker.ErrorNumber(), -3);
  EXPECT_EQ(walker.GetFolder(), nullptr);
  EXPECT_TRUE(walker.Finished());
  EXPECT_EQ(disk->Calls(), calls);
}

TEST_F(WalkerCases, AListingThatChangesBetweenReadsIsTakenOnce) {
  // The level and the file list are snapshots: a folder emptied or filled after they were taken
  // is not seen, and the walk still ends.
  walker.SetRoot(L"C:\\R", 0);
  walker.MoveNextFile();  // on C:\R\f1.txt: C:\R has been read once
  disk->Remove(L"C:\\R\\A");
  disk->AddFile(L"C:\\R\\B\\late.txt");
  std::vector<std::wstring> rest = AllFiles();
  EXPECT_TRUE(rest.empty());  // A vanished before it was read; B came after the snapshot
  EXPECT_EQ(disk->DirectoryReads(L"C:\\R"), 1);
}

TEST_F(WalkerCases, ALinkLoopEnds) {
  disk->AddLink(L"C:\\R\\A\\loop", L"C:\\R");
  disk->AddLink(L"C:\\R\\self", L"C:\\R\\self");
  walker.SetRoot(L"C:\\", 0);
  std::vector<std::wstring> folders;
  for (int guard = 0; guard < 100 && !walker.Finished(); ++guard) {
    folders.push_back(walker.GetFolder()->Path());
    walker.MoveNextFolder();
  }
  EXPECT_EQ(folders, (std::vector<std::wstring>{L"C:\\", L"C:\\R", L"C:\\R\\A", L"C:\\R\\A\\loop",
                                                L"C:\\R\\self", L"C:\\S"}));
}

}  // namespace
}  // namespace docrecover::testing
