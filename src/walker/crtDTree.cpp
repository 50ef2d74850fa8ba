#include "walker/crtDTree.h"

#include <utility>

#include "platform/PlatformError.h"

namespace docrecover {

crtDTree::crtDTree(ServiceFactory newService) : mNewService(std::move(newService)) {
  SetDefaultSettings();
}

void crtDTree::SetRoot(const TreeRoot& pRoot, const int32_t& pSettings) {
  mErrorNumber = -1;
  mState = Idle;
  mFileIndex = FilesNotLoaded;
  if (pSettings == 0) {
    SetDefaultSettings();
  } else {
    mRecurse = false;
  }
  // Nothing of an earlier walk is kept, also when this one does not start.
  mLevels.clear();
  mRoots.clear();

  const std::wstring form = pRoot.TypeName();
  if (form == root_tag::kString) {
    mRoots = {FolderFromPath(pRoot.As<std::wstring>())};
  } else if (form == root_tag::kStrings) {
    mRoots = PathsToFolders(pRoot.As<std::vector<std::wstring>>());
  } else if (form == root_tag::kFolder) {
    mRoots = {pRoot.As<FolderPtr>()};
  } else if (form == root_tag::kFolders) {
    mRoots = FoldersToArray(pRoot.As<FolderCollection>());
  } else if (form == root_tag::kDrive) {
    // Not guarded: a single drive whose root cannot be read is the caller's failure.
    mRoots = {pRoot.As<DrivePtr>()->RootFolder()};
  } else if (form == root_tag::kCollection) {
    for (const TreeRoot& item : pRoot.As<TreeRoot::Collection>()) {
      const std::wstring itemForm = item.TypeName();
      if (itemForm == root_tag::kString) {
        mRoots.push_back(FolderFromPath(item.As<std::wstring>()));
      } else if (itemForm == root_tag::kFolder) {
        mRoots.push_back(item.As<FolderPtr>());
      } else if (itemForm == root_tag::kDrive) {
        mRoots.push_back(FolderFromDrive(*item.As<DrivePtr>()));
      } else {
        mErrorNumber = -2;
        return;
      }
    }
  } else {
    mErrorNumber = -2;
    return;
  }

  if (RootsValid()) {
    PushLevel(mRoots);
    mState = Walking;
    mErrorNumber = 0;
  }
}

FolderPtr crtDTree::GetFolder() {
  if (mState != Walking) {
    mErrorNumber = -3;
    return nullptr;
  }
  if (!CurrentFolderReadable()) {
    mErrorNumber = -1;
    return nullptr;
  }
  mErrorNumber = 0;
  return CurrentFolder();
}

void crtDTree::MoveNextFolder() {
  if (mState != Walking) {
    mErrorNumber = -3;
    return;
  }
  // A folder whose path cannot be read is passed over; the next step starts from it.
  do {
    AdvanceFolder();
  } while (mState != Done && !CurrentFolderReadable());
  mErrorNumber = 0;
}

FilePtr crtDTree::GetFile() {
  if (mState != Walking) {
    mErrorNumber = -3;
    return nullptr;
  }
  if (mFileIndex == FilesNotLoaded) {
    LoadFiles();
  }
  if (mFileIndex == NoFile || !CurrentFileReadable()) {
    mErrorNumber = -4;
    return nullptr;
  }
  mErrorNumber = 0;
  return mFiles[mFileIndex];
}

void crtDTree::MoveNextFile() {
  if (mState != Walking) {
    mErrorNumber = -3;
    return;
  }
  // Files whose path cannot be read are passed over.
  do {
    AdvanceFile();
  } while (mState != Done && !CurrentFileReadable());
  mErrorNumber = 0;
}

std::vector<FolderPtr> crtDTree::FoldersToArray(FolderCollection folders) {
  return std::move(folders).TakeItems();
}

std::vector<FilePtr> crtDTree::FilesToArray(FileCollection files) {
  return std::move(files).TakeItems();
}

std::vector<FolderPtr> crtDTree::PathsToFolders(const std::vector<std::wstring>& paths) {
  std::vector<FolderPtr> folders;
  folders.reserve(paths.size());
  for (const std::wstring& path : paths) {
    folders.push_back(FolderFromPath(path));
  }
  return folders;
}

FolderPtr crtDTree::FolderFromPath(const std::wstring& path) {
  // Absorbed: a path that cannot be opened is a missing root, which RootsValid reports as -1.
  try {
    if (!mFso) {
      mFso = mNewService();
    }
    return mFso ? mFso->GetFolder(path) : nullptr;
  } catch (const PlatformError&) {
    return nullptr;
  }
}

FolderPtr crtDTree::FolderFromDrive(const Drive& drive) {
  // Absorbed: a drive item without a readable root is a missing root.
  try {
    return drive.RootFolder();
  } catch (const PlatformError&) {
    return nullptr;
  }
}

bool crtDTree::RootsValid() const {
  if (mRoots.empty()) {
    return false;
  }
  for (const FolderPtr& root : mRoots) {
    if (!root) {
      return false;
    }
  }
  return true;
}

void crtDTree::PushLevel(std::vector<FolderPtr> folders) {
  mLevels.push_back(TreeLevel{std::move(folders), 0});
}

void crtDTree::PopLevel() {
  mLevels.pop_back();
}

void crtDTree::NextSiblingFolder() {
  if (!IsLastFolderOfLevel()) {
    ++mLevels.back().Index;
  }
}

void crtDTree::AdvanceFolder() {
  // The subfolders are read once, for the test and the new level alike, so no level is ever
  // pushed empty. They are read also when the walk stays at the roots: a folder keeps the part of
  // its listing that was not asked for, and asking releases it. A link is never read.
  std::vector<FolderPtr> subfolders;
  try {
    const FolderPtr& current = CurrentFolder();
    if (!current->IsLink()) {
      subfolders = FoldersToArray(current->SubFolders());
    }
  } catch (const PlatformError&) {
    // Absorbed: a folder whose subfolders cannot be read is walked as if it had none.
    subfolders.clear();
  }
  if (mRecurse && !subfolders.empty()) {
    PushLevel(std::move(subfolders));
    mFileIndex = FilesNotLoaded;
    return;
  }
  // On to the next folder that is not below the current one.
  for (;;) {
    if (!IsLastFolderOfLevel()) {
      NextSiblingFolder();
      mFileIndex = FilesNotLoaded;
      return;
    }
    PopLevel();
    if (LevelCount() == 0) {
      mFiles.clear();
      mFileIndex = FilesNotLoaded;
      mState = Done;
      return;
    }
  }
}

bool crtDTree::CurrentFolderReadable() const {
  if (mLevels.empty()) {
    return false;
  }
  // Absorbed: an unreadable path is the answer "not readable".
  try {
    CurrentFolder()->Path();
    return true;
  } catch (const PlatformError&) {
    return false;
  }
}

void crtDTree::LoadFiles() {
  try {
    const FolderPtr& current = CurrentFolder();
    mFiles = current->IsLink() ? std::vector<FilePtr>{} : FilesToArray(current->Files());
    mFileIndex = mFiles.empty() ? NoFile : 0;
  } catch (const PlatformError&) {
    // Absorbed: a folder whose files cannot be read is walked as if it had none.
    mFiles.clear();
    mFileIndex = NoFile;
  }
}

void crtDTree::NextFileIndex() {
  if (!IsLastFile()) {
    ++mFileIndex;
  }
}

void crtDTree::AdvanceFile() {
  while (mState == Walking) {
    if (mFileIndex == NoFile) {
      AdvanceFolder();
    } else if (mFileIndex == FilesNotLoaded) {
      LoadFiles();
      if (mFileIndex == 0) {
        return;  // on the folder's first file
      }
    } else if (IsLastFile()) {
      AdvanceFolder();
    } else {
      NextFileIndex();
      return;
    }
  }
}

bool crtDTree::CurrentFileReadable() {
  if (mFileIndex < 0 || mFileIndex >= FileCount()) {
    return false;
  }
  // Absorbed: an unreadable path is the answer "not readable".
  try {
    mFiles[mFileIndex]->PathInto(mPathRead);
    return true;
  } catch (const PlatformError&) {
    return false;
  }
}

}  // namespace docrecover
