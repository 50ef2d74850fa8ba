#include "transfer/DeleteAllFiles.h"

#include "transfer/FolderEntry.h"

namespace docrecover {

void DeleteAllFiles(FileSystemService& fileSystem, ProgressView& view,
                    const std::wstring& pSrcFolder, const std::wstring& pDestFolder) {
  const FolderPtr source = fileSystem.GetFolder(pSrcFolder);
  const FolderPtr destination = fileSystem.GetFolder(pDestFolder);
  const FileCollection files = source->Files();
  const std::wstring destinationPath = destination->Path();
  for (const FilePtr& file : files) {
    const std::wstring name = file->Name();
    view.ShowMessage2(name);
    const std::wstring target = EntryPath(destinationPath, name);
    if (IsPlainFile(fileSystem, target)) {
      fileSystem.DeleteFile(target, /*force=*/true);
    }
  }
}

}  // namespace docrecover
