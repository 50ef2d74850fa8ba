// The walker over real folders under Wine: a symbolic-link loop, a dangling link, Unicode names
// and a path longer than MAX_PATH.
//
// Wine 8 cannot make these links from inside a Win32 program: CreateSymbolicLinkW reports success
// and makes nothing. So the tree is made from the Linux side before the run, and the test finds it
// through DOCRECOVER_WALKER_TREE, the tree's Windows path ("/" may stand for "\"). CTest does both
// (the walker_win32_link_tree fixture). By hand, with WINEPREFIX set:
//   tests/walker/make_link_tree.sh
//   DOCRECOVER_WALKER_TREE='C:\walker-tree' wine walker_win32_tests.exe
// make_link_tree.sh builds, under $WINEPREFIX/drive_c/walker-tree:
//   a/f1.txt, a/b/f2.txt, a/b/loop -> .. (a loop back to a), dangling -> /nonexistent/folder,
//   "Ünïcödé 日本/doc ß.pdf", and deep.txt eight 40-character folders down (over MAX_PATH).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/win32/Win32FileSystem.h"
#include "walker/crtDTree.h"

namespace docrecover {
namespace {

class WalkerWin32 : public ::testing::Test {
 protected:
  void SetUp() override {
    const wchar_t* tree = _wgetenv(L"DOCRECOVER_WALKER_TREE");
    ASSERT_NE(tree, nullptr) << "DOCRECOVER_WALKER_TREE is not set: run make_link_tree.sh and "
                                "set it to the tree's Windows path";
    root = tree;
    std::replace(root.begin(), root.end(), L'/', L'\\');
  }

  std::wstring root;
  crtDTree walker{[] { return NewWin32FileSystem(); }};
};

TEST_F(WalkerWin32, ALinkedTreeIsWalkedToTheEndAndEveryRealFileFound) {
  walker.SetRoot(root, 0);
  ASSERT_EQ(walker.ErrorNumber(), 0) << "no tree at DOCRECOVER_WALKER_TREE";

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

TEST_F(WalkerWin32, TheLoopIsVisitedAsAFolderButNotEntered) {
  walker.SetRoot(root + L"\\a", 0);
  std::vector<std::wstring> folders;
  FolderPtr last;
  for (int guard = 0; guard < 100 && !walker.Finished(); ++guard) {
    last = walker.GetFolder();
    ASSERT_NE(last, nullptr);
    folders.push_back(last->Path());
    walker.MoveNextFolder();
  }
  EXPECT_EQ(folders,
            (std::vector<std::wstring>{root + L"\\a", root + L"\\a\\b", root + L"\\a\\b\\loop"}));
  ASSERT_NE(last, nullptr);
  EXPECT_TRUE(last->IsLink()) << "the loop is a plain folder: was it made with ln -s?";
}

}  // namespace
}  // namespace docrecover
