#include "transfer/CopyAllFiles.h"

#include <set>

#include "platform/PlatformError.h"
#include "platform/TextCase.h"
#include "transfer/FolderEntry.h"
#include "transfer/ReplaceWithCopy.h"

namespace docrecover {

namespace {

// The upper-cased names of folder's subfolders, from one listing of it: names compare without
// regard to case, as on the disk.
std::set<std::wstring> SubfolderNames(Folder& folder) {
  std::set<std::wstring> names;
  for (const FolderPtr& subfolder : folder.SubFolders()) {
    const std::wstring path = subfolder->Path();
    names.insert(UpperCase(path.substr(path.find_last_of(L'\\') + 1)));
  }
  return names;
}

}  // namespace

void CopyAllFiles(FileSystemService& fileSystem, ProgressView& view, const std::wstring& pSrcFolder,
                  const std::wstring& pDestFolder) {
  const FolderPtr source = fileSystem.GetFolder(pSrcFolder);
  const FolderPtr destination = fileSystem.GetFolder(pDestFolder);
  const FileCollection files = source->Files();
  const std::wstring sourcePath = source->Path();
  const std::wstring destinationPath = destination->Path();
  // One listing of the destination instead of a lookup per document: which marks a file there
  // carries does not matter, only whether a folder has a document's name.
  const std::set<std::wstring> folders = SubfolderNames(*destination);
  for (const FilePtr& file : files) {
    const std::wstring name = file->Name();
    view.ShowMessage2(name);
    const std::wstring target = EntryPath(destinationPath, name);
    if (folders.count(UpperCase(name)) != 0) {
      throw PlatformError(error::kAccessDenied, L"The document " + target +
                                                    L" could not be replaced: a folder has its "
                                                    L"name.");
    }
    ReplaceWithCopy(fileSystem, view, EntryPath(sourcePath, name), target);
  }
}

}  // namespace docrecover
