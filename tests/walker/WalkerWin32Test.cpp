// The walker over real folders under Wine: a symbolic-link loop, a dangling link, Unicode names
// and a path longer than MAX_PATH. The tree is made from the Linux side by make_link_tree.sh.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/Win32FileSystem.h"
#include "walker/crtDTree.h"

namespace docrecover {
namespace {

TEST(WalkerWin32, ALinkedTreeIsWalkedToTheEndAndEveryRealFileFound) {
  const std::wstring root = L"C:\\walker-tree";
  crtDTree walker([] { return NewWin32FileSystem(); });
  walker.SetRoot(root, 0);
  ASSERT_EQ(walker.ErrorNumber(), 0) << "run make_link_tree.sh first";

  std::vector<std::wstring> files;
  for (int guard = 0; guard < 10000 && !walker.Finished(); ++guard) {
    walker.MoveNextFile();
    if (FilePtr file = walker.GetFile()) {
      files.push_back(file->Path());
    }
  }
  ASSERT_TRUE(walker.Finished());
  std::sort(files.begin(), files.end());

  std::wstring deep = root;
  for (int i = 0; i < 8; ++i) {
    deep += L"\\a-folder-name-of-forty-characters-long-x";
  }
  std::vector<std::wstring> expected = {
      root + L"\\a\\f1.txt", root + L"\\a\\b\\f2.txt",
      root + L"\\\u00dcn\u00efc\u00f6d\u00e9 \u65e5\u672c\\doc \u00df.pdf", deep + L"\\deep.txt"};
  std::sort(expected.begin(), expected.end());
  EXPECT_GT(deep.size(), 260u);
  EXPECT_EQ(files, expected);
}

TEST(WalkerWin32, TheLoopIsVisitedAsAFolderButNotEntered) {
  crtDTree walker([] { return NewWin32FileSystem(); });
  walker.SetRoot(std::wstring(L"C:\\walker-tree\\a"), 0);
  std::vector<std::wstring> folders;
  for (int guard = 0; guard < 100 && !walker.Finished(); ++guard) {
    folders.push_back(walker.GetFolder()->Path());
    walker.MoveNextFolder();
  }
  EXPECT_EQ(folders, (std::vector<std::wstring>{L"C:\\walker-tree\\a", L"C:\\walker-tree\\a\\b",
                                                L"C:\\walker-tree\\a\\b\\loop"}));
}

}  // namespace
}  // namespace docrecover
