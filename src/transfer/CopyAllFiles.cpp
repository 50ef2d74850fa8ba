#include "transfer/CopyAllFiles.h"

#include <set>
#include <utility>
#include <vector>

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
                  const std::wstring& pDestFolder, const DocumentManifest* documents) {
  const FolderPtr source = fileSystem.GetFolder(pSrcFolder);
  const FolderPtr destination = fileSystem.GetFolder(pDestFolder);
  // Each document's name, with its entry on the list when there is one.
  std::vector<std::pair<std::wstring, const DocumentEntry*>> copies;
  if (documents != nullptr) {
    for (const DocumentEntry& entry : *documents) {
      copies.emplace_back(entry.name, &entry);
    }
  } else {
    for (const FilePtr& file : source->Files()) {
      copies.emplace_back(file->Name(), nullptr);
    }
  }
  const std::wstring sourcePath = source->Path();
  const std::wstring destinationPath = destination->Path();
  // One listing of the destination instead of a lookup per document: which marks a file there
  // carries does not matter, only whether a folder has a document's name.
  const std::set<std::wstring> folders = SubfolderNames(*destination);
  for (const auto& [name, entry] : copies) {
    view.ShowMessage2(name);
    const std::wstring target = EntryPath(destinationPath, name);
    if (folders.count(UpperCase(name)) != 0) {
      throw PlatformError(error::kAccessDenied, L"The document " + target +
                                                    L" could not be replaced: a folder has its "
                                                    L"name.");
    }
    ReplaceWithCopy(fileSystem, view, EntryPath(sourcePath, name), target, entry);
  }
}

}  // namespace docrecover
