// The file-system service's contract, one set of cases for every implementation: the in-memory
// one natively, the Win32 one under Wine on real files.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ContractDriver.h"
#include "platform/PlatformError.h"

namespace docrecover::testing {
namespace {

class FileSystemContract : public ::testing::Test {
 protected:
  std::wstring At(const std::wstring& relative) const { return root + L"\\" + relative; }

  template <class Items>
  static std::vector<std::wstring> SortedPaths(const Items& items) {
    std::vector<std::wstring> paths;
    for (const auto& item : items) {
      paths.push_back(item->Path());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
  }

  static uint32_t ErrorOf(const std::function<void()>& call) {
    try {
      call();
    } catch (const PlatformError& failure) {
      return failure.Number();
    }
    return 0;
  }

  std::unique_ptr<ContractDriver> driver = NewContractDriver();
  FileSystemService& fs = driver->Service();
  const std::wstring root = driver->Root();
};

TEST_F(FileSystemContract, FoldersListTheirSubfoldersAndFilesWithCounts) {
  driver->MakeFolder(At(L"a"));
  driver->MakeFolder(At(L"a\\sub"));
  driver->MakeFile(At(L"a\\x.txt"), "x");
  driver->MakeFile(At(L"a\\y.txt"), "y");
  driver->MakeFile(At(L"a\\sub\\z.txt"), "z");
  const FolderPtr folder = fs.GetFolder(At(L"a"));
  EXPECT_EQ(folder->Path(), At(L"a"));
  const FolderCollection subfolders = folder->SubFolders();
  const FileCollection files = folder->Files();
  EXPECT_EQ(subfolders.Count(), 1);
  EXPECT_EQ(SortedPaths(subfolders), std::vector<std::wstring>{At(L"a\\sub")});
  EXPECT_EQ(files.Count(), 2);
  EXPECT_EQ(SortedPaths(files), (std::vector<std::wstring>{At(L"a\\x.txt"), At(L"a\\y.txt")}));
  std::vector<std::wstring> names;
  for (const FilePtr& file : files) {
    names.push_back(file->Name());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"x.txt", L"y.txt"}));
  EXPECT_FALSE(folder->IsLink());
}

TEST_F(FileSystemContract, OneListingServesSubfoldersAndFilesAndAskingAgainReadsAnew) {
  driver->MakeFolder(At(L"snap"));
  driver->MakeFile(At(L"snap\\before.txt"), "");
  const FolderPtr folder = fs.GetFolder(At(L"snap"));
  EXPECT_EQ(folder->SubFolders().Count(), 0);
  // Made after the listing: the files handed out next still come from that one listing.
  driver->MakeFile(At(L"snap\\after.txt"), "");
  driver->MakeFolder(At(L"snap\\later"));
  EXPECT_EQ(SortedPaths(folder->Files()), std::vector<std::wstring>{At(L"snap\\before.txt")});
  // Both parts have been handed out: the next request lists the folder again.
  EXPECT_EQ(SortedPaths(folder->Files()),
            (std::vector<std::wstring>{At(L"snap\\after.txt"), At(L"snap\\before.txt")}));
  EXPECT_EQ(SortedPaths(folder->SubFolders()), std::vector<std::wstring>{At(L"snap\\later")});
}

TEST_F(FileSystemContract, DriveRootsAreGivenAsXColonOrXColonBackslash) {
  const std::wstring drive = root.substr(0, 2);
  const std::wstring top = root.substr(0, root.find(L'\\', 3));  // e.g. "C:\users"
  for (const std::wstring& form : {drive, drive + L"\\"}) {
    const FolderPtr folder = fs.GetFolder(form);
    EXPECT_EQ(folder->Path(), drive + L"\\") << form;
    // No doubled backslash after the root's own.
    const std::vector<std::wstring> children = SortedPaths(folder->SubFolders());
    EXPECT_NE(std::find(children.begin(), children.end(), top), children.end()) << form;
  }
  EXPECT_EQ(fs.GetFolder(root + L"\\")->Path(), root);
}

TEST_F(FileSystemContract, UnicodeNamesWorkEndToEnd) {
  const std::wstring folder = At(L"Dokumente \u00c4\u00d6\u00dc");
  driver->MakeFolder(folder);
  driver->MakeFolder(folder + L"\\\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac");
  driver->MakeFile(folder + L"\\\u65e5\u672c\u8a9e.txt", "doc");
  const FolderPtr opened = fs.GetFolder(folder);
  EXPECT_EQ(
      SortedPaths(opened->SubFolders()),
      std::vector<std::wstring>{folder + L"\\\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac"});
  EXPECT_EQ(SortedPaths(opened->Files()),
            std::vector<std::wstring>{folder + L"\\\u65e5\u672c\u8a9e.txt"});
  EXPECT_EQ(fs.FindEntry(folder + L"\\*.txt", 0), L"\u65e5\u672c\u8a9e.txt");
  fs.CopyFile(folder + L"\\\u65e5\u672c\u8a9e.txt", folder + L"\\copy \u00df.txt", false);
  EXPECT_EQ(driver->Content(folder + L"\\copy \u00df.txt"), "doc");
}

TEST_F(FileSystemContract, PathsLongerThanMaxPathAreReached) {
  std::wstring deep = root;
  while (deep.size() < 300) {
    deep += L"\\a-folder-name-of-forty-characters-long-x";
    driver->MakeFolder(deep);
  }
  const std::wstring file = deep + L"\\document.pdf";
  driver->MakeFile(file, "deep");
  const FolderPtr folder = fs.GetFolder(deep);
  EXPECT_EQ(folder->Path(), deep);
  EXPECT_EQ(SortedPaths(folder->Files()), std::vector<std::wstring>{file});
  EXPECT_EQ(fs.FindEntry(file, 0), L"document.pdf");
  fs.CopyFile(file, deep + L"\\copy.pdf", false);
  fs.ReplaceFile(deep + L"\\copy.pdf", file);
  EXPECT_EQ(driver->Content(file), "deep");
  fs.DeleteFile(file, true);
  EXPECT_FALSE(driver->Content(file).has_value());
}

TEST_F(FileSystemContract, TheLookupMaskAdmitsHiddenSystemAndFoldersOnlyWhenAsked) {
  driver->MakeFile(At(L"plain.txt"), "");
  driver->MakeFile(At(L"readonly.txt"), "", attribute::kReadOnly);
  driver->MakeFile(At(L"hidden.txt"), "", attribute::kHidden);
  driver->MakeFile(At(L"system.txt"), "", attribute::kSystem);
  driver->MakeFolder(At(L"folder"));
  driver->MakeFolder(At(L"rofolder"), attribute::kReadOnly);  // Wine keeps no such mark: harmless
  driver->MakeFolder(At(L"hiddenfolder"), attribute::kHidden);
  driver->MakeFolder(At(L"sysfolder"), attribute::kSystem);
  struct Row {
    const wchar_t* path;
    uint32_t mask;
    const wchar_t* found;  // empty: no match
  };
  const Row rows[] = {
      {L"plain.txt", 0, L"plain.txt"},
      {L"PLAIN.TXT", 0, L"plain.txt"},  // the name as stored
      {L"readonly.txt", 0, L"readonly.txt"},
      {L"hidden.txt", 0, L""},
      {L"hidden.txt", 2, L"hidden.txt"},
      {L"system.txt", 2, L""},
      {L"system.txt", 4, L"system.txt"},
      {L"folder", 0, L""},
      {L"folder", 39, L""},  // the file-exists mask never sees folders
      {L"folder", 16, L"folder"},
      {L"rofolder", 16, L"rofolder"},
      {L"hiddenfolder", 16, L""},
      {L"hiddenfolder", 18, L"hiddenfolder"},
      {L"sysfolder", 18, L""},
      {L"sysfolder", 20, L"sysfolder"},
      {L"hidden.txt", 39, L"hidden.txt"},
      {L"system.txt", 39, L"system.txt"},
      {L"pl?in.txt", 0, L"plain.txt"},
      {L"*only.txt", 0, L"readonly.txt"},
      {L"*idden*", 2, L"hidden.txt"},  // hiddenfolder needs 16 as well
      {L"*idden*", 16, L""},
      {L"s*", 0, L""},
      {L"s*", 4, L"system.txt"},
      {L"missing.txt", 63, L""},
      {L"missing\\plain.txt", 63, L""},  // a missing folder on the way
      {L"plain.txt\\inner", 63, L""},    // a file on the way
  };
  for (const Row& row : rows) {
    EXPECT_EQ(fs.FindEntry(At(row.path), row.mask), row.found)
        << std::wstring(row.path) << " mask " << row.mask;
  }
}

TEST_F(FileSystemContract, ParentFolderNamesKeepTheRootsBackslash) {
  EXPECT_EQ(fs.GetParentFolderName(L"C:\\ZEMO.exe"), L"C:\\");
  EXPECT_EQ(fs.GetParentFolderName(L"D:\\Apps\\ZEMO On CD\\ZEMO.exe"), L"D:\\Apps\\ZEMO On CD");
  EXPECT_EQ(fs.GetParentFolderName(L"C:\\"), L"");
}

TEST_F(FileSystemContract, DeletingAReadOnlyFileNeedsForce) {
  driver->MakeFile(At(L"ro.pdf"), "old", attribute::kReadOnly);
  EXPECT_EQ(ErrorOf([&] { fs.DeleteFile(At(L"ro.pdf"), false); }), error::kAccessDenied);
  EXPECT_EQ(driver->Content(At(L"ro.pdf")), "old");
  fs.DeleteFile(At(L"ro.pdf"), true);
  EXPECT_FALSE(driver->Content(At(L"ro.pdf")).has_value());
  EXPECT_NE(ErrorOf([&] { fs.DeleteFile(At(L"ro.pdf"), true); }), 0u);
}

TEST_F(FileSystemContract, CopyOverwritesOnlyWhenAsked) {
  driver->MakeFile(At(L"new.pdf"), "new");
  driver->MakeFile(At(L"old.pdf"), "old");
  EXPECT_NE(ErrorOf([&] { fs.CopyFile(At(L"new.pdf"), At(L"old.pdf"), false); }), 0u);
  EXPECT_EQ(driver->Content(At(L"old.pdf")), "old");
  fs.CopyFile(At(L"new.pdf"), At(L"old.pdf"), true);
  EXPECT_EQ(driver->Content(At(L"old.pdf")), "new");
  EXPECT_NE(ErrorOf([&] { fs.CopyFile(At(L"gone.pdf"), At(L"x.pdf"), true); }), 0u);
  EXPECT_FALSE(driver->Content(At(L"x.pdf")).has_value());
  // Windows refuses an overwrite of a hidden or read-only target, Wine does not: not tested.
}

TEST_F(FileSystemContract, ReplaceFilePutsAFileInAReadOnlyTargetsPlace) {
  driver->MakeFile(At(L"target.pdf"), "old", attribute::kReadOnly);
  // A replacement that fails leaves the target as it was, read-only mark included.
  EXPECT_NE(ErrorOf([&] { fs.ReplaceFile(At(L"missing.tmp"), At(L"target.pdf")); }), 0u);
  EXPECT_EQ(driver->Content(At(L"target.pdf")), "old");
  EXPECT_EQ(ErrorOf([&] { fs.DeleteFile(At(L"target.pdf"), false); }), error::kAccessDenied);
  driver->MakeFile(At(L"staged.tmp"), "new");
  fs.ReplaceFile(At(L"staged.tmp"), At(L"target.pdf"));
  EXPECT_EQ(driver->Content(At(L"target.pdf")), "new");
  EXPECT_FALSE(driver->Content(At(L"staged.tmp")).has_value());
}

TEST_F(FileSystemContract, ReplaceFileMovesFilesOnlyNeverFolders) {
  // MoveFileExW moves a folder over a file as readily as a file: the file would be lost.
  driver->MakeFile(At(L"target.pdf"), "old");
  driver->MakeFolder(At(L"staged"));
  driver->MakeFile(At(L"staged\\inner.txt"), "inner");
  EXPECT_EQ(ErrorOf([&] { fs.ReplaceFile(At(L"staged"), At(L"target.pdf")); }),
            error::kAccessDenied);
  EXPECT_EQ(driver->Content(At(L"target.pdf")), "old");
  EXPECT_EQ(driver->Content(At(L"staged\\inner.txt")), "inner");
  // Nor does a file take a folder's place.
  driver->MakeFile(At(L"new.pdf"), "new");
  EXPECT_NE(ErrorOf([&] { fs.ReplaceFile(At(L"new.pdf"), At(L"staged")); }), 0u);
  EXPECT_EQ(driver->Content(At(L"new.pdf")), "new");
  EXPECT_EQ(driver->Content(At(L"staged\\inner.txt")), "inner");
}

TEST_F(FileSystemContract, GetFolderFailsForAMissingPathAndForAFile) {
  driver->MakeFile(At(L"file.txt"), "");
  EXPECT_NE(ErrorOf([&] { fs.GetFolder(At(L"missing")); }), 0u);
  EXPECT_NE(ErrorOf([&] { fs.GetFolder(At(L"file.txt")); }), 0u);
  EXPECT_NE(ErrorOf([&] { fs.GetFolder(At(L"missing\\deeper")); }), 0u);
}

TEST_F(FileSystemContract, LinksAreReportedAsLinks) {
  driver->MakeFolder(At(L"real"));
  if (!driver->MakeLink(At(L"real\\loop"), At(L"real"))) {
    // Wine 8: CreateSymbolicLinkW reports success and makes nothing. tests/win32fs checks the
    // Win32 service on links made from the Linux side.
    GTEST_SKIP() << "this platform cannot make a link from a test";
  }
  EXPECT_TRUE(fs.GetFolder(At(L"real\\loop"))->IsLink());
  const FolderCollection subfolders = fs.GetFolder(At(L"real"))->SubFolders();
  ASSERT_EQ(subfolders.Count(), 1);
  EXPECT_TRUE((*subfolders.begin())->IsLink());
}

TEST_F(FileSystemContract, DrivesGiveTheirLetterTypeAndRoot) {
  const DriveCollection drives = fs.Drives();
  ASSERT_GT(drives.Count(), 0);
  const wchar_t scratchDrive = root[0];
  bool seen = false;
  for (const DrivePtr& drive : drives) {
    const std::wstring letter = drive->DriveLetter();
    ASSERT_EQ(letter.size(), 1u);
    if (letter[0] == scratchDrive) {
      seen = true;
      EXPECT_EQ(drive->DriveType(), drive_type::kFixed);
      EXPECT_EQ(drive->RootFolder()->Path(), letter + L":\\");
    }
  }
  EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace docrecover::testing
