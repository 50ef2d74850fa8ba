#include "transfer/CopyAllFiles.h"

#include "transfer/FolderEntry.h"
#include "transfer/ReplaceWithCopy.h"

namespace docrecover {

void CopyAllFiles(FileSystemService& fileSystem, ProgressView& view, const std::wstring& pSrcFolder,
                  const std::wstring& pDestFolder) {
  const FolderPtr source = fileSystem.GetFolder(pSrcFolder);
  const FolderPtr destination = fileSystem.GetFolder(pDestFolder);
  const FileCollection files = source->Files();
  const std::wstring sourcePath = source->Path();
  const std::wstring destinationPath = destination->Path();
  for (const FilePtr& file : files) {
    const std::wstring name = file->Name();
    view.ShowMessage2(name);
    const std::wstring from = EntryPath(sourcePath, name);
    const std::wstring target = EntryPath(destinationPath, name);
    if (IsPlainFile(fileSystem, target) || !IsAnyEntry(fileSystem, target)) {
      ReplaceWithCopy(fileSystem, view, from, target);
    } else {
      // Hidden, system or a folder: the platform's overwrite copy decides, and a refusal ends
      // the operation with the platform's error.
      fileSystem.CopyFile(from, target, /*overwrite=*/true, [&view] { view.KeepAlive(); });
    }
  }
}

}  // namespace docrecover
