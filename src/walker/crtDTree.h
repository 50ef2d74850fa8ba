#pragma once

// crtDTree: a resumable cursor over the folders (depth-first, pre-order) and the files (folder by
// folder, in the same order) beneath one or more roots. A client starts a walk with SetRoot and
// pulls one folder or one file at a time until Finished. Items the file system cannot read are
// passed over; outcomes are reported through ErrorNumber instead of failures.
//
// Every walk ends: a folder that is a link (junction, symbolic link, any reparse point) is visited
// as a folder, but neither entered nor listed, which also keeps a walk out of link loops.
// Memory grows with the depth of the tree and the width of the folders on the current path only:
// the walker holds the sibling lists from a root to the current folder and one file list.

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/FileSystemService.h"
#include "walker/TreeRoot.h"

namespace docrecover {

class crtDTree {
 public:
  using ServiceFactory = std::function<FileSystemPtr()>;

  // Walk states.
  static constexpr int32_t Idle = 0;     // no walk: new, or the last SetRoot found no usable root
  static constexpr int32_t Done = 1;     // the cursor has passed the last folder
  static constexpr int32_t Walking = 2;  // there is a current folder
  // mFileIndex values besides a position in mFiles.
  static constexpr int32_t FilesNotLoaded = -2;
  static constexpr int32_t NoFile = -1;

  // newService makes the walker's own service object, at its first path lookup. It may fail by
  // throwing PlatformError or by giving no object; that lookup then finds no folder, and the next
  // lookup asks again.
  explicit crtDTree(ServiceFactory newService);

  // Starts a walk over pRoot, abandoning any earlier one; pSettings 0 descends into subfolders,
  // any other value walks the roots only. Outcome in ErrorNumber: 0 walking, -1 no usable root
  // (a single missing root spoils all), -2 unsupported form. Throws PlatformError only when the
  // RootFolder of a single drive root cannot be read; the walker is then Idle with -1.
  void SetRoot(const TreeRoot& pRoot, const int32_t& pSettings);
  // 0 done as asked, -1 no usable root / current folder unreadable, -2 unsupported root,
  // -3 no walk in progress, -4 no current file or it cannot be read.
  int32_t ErrorNumber() const { return mErrorNumber; }
  FolderPtr GetFolder();
  void MoveNextFolder();
  FilePtr GetFile();
  bool Finished() const { return mState == Done; }
  void MoveNextFile();

 private:
  struct TreeLevel {
    std::vector<FolderPtr> FolderList;  // never empty
    int32_t Index = 0;                  // the level's current folder
  };

  template <class List>
  static int32_t ArrayCount(const List& list) {
    return static_cast<int32_t>(list.size());
  }
  // The collection's items in its enumeration order; a snapshot is taken over, not copied.
  static std::vector<FolderPtr> FoldersToArray(FolderCollection folders);
  static std::vector<FilePtr> FilesToArray(FileCollection files);
  std::vector<FolderPtr> PathsToFolders(const std::vector<std::wstring>& paths);
  FolderPtr FolderFromPath(const std::wstring& path);
  static FolderPtr FolderFromDrive(const Drive& drive);
  bool RootsValid() const;
  void SetDefaultSettings() { mRecurse = true; }

  void PushLevel(std::vector<FolderPtr> folders);
  void PopLevel();
  int32_t LevelCount() const { return ArrayCount(mLevels); }
  int32_t LevelIndex() const { return mLevels.back().Index; }
  int32_t LevelFolderCount() const {
    return mLevels.empty() ? 0 : ArrayCount(mLevels.back().FolderList);
  }
  bool IsLastFolderOfLevel() const { return LevelIndex() == LevelFolderCount() - 1; }
  void NextSiblingFolder();
  const FolderPtr& CurrentFolder() const { return mLevels.back().FolderList[LevelIndex()]; }

  void AdvanceFolder();
  bool CurrentFolderReadable() const;
  void LoadFiles();
  int32_t FileCount() const { return ArrayCount(mFiles); }
  bool IsLastFile() const { return mFileIndex == FileCount() - 1; }
  void NextFileIndex();
  void AdvanceFile();
  bool CurrentFileReadable();

  ServiceFactory mNewService;
  FileSystemPtr mFso;  // made at the first path lookup, kept for the walker's life
  int32_t mState = Idle;
  std::vector<FolderPtr> mRoots;  // the roots of the current walk, in the order given
  // The level stack: entry 0 holds the roots, the last the current folder and its siblings.
  // In Walking it is never empty; in Done it is empty.
  std::vector<TreeLevel> mLevels;
  std::vector<FilePtr> mFiles;  // the current folder's files, once loaded; empty after a walk
  // FilesNotLoaded, NoFile, or a valid position in mFiles; FilesNotLoaded whenever the current
  // folder changes.
  int32_t mFileIndex = FilesNotLoaded;
  int32_t mErrorNumber = 0;
  bool mRecurse = true;
  // Where CurrentFileReadable reads each file's path: one buffer for the whole walk, so that the
  // test costs no allocation per file.
  std::wstring mPathRead;
};

}  // namespace docrecover
