#include "app/DocumentCheck.h"

#include <map>

#include "app/Texts.h"
#include "platform/TextCase.h"
#include "transfer/FolderEntry.h"

namespace docrecover {

namespace {

constexpr uint32_t kAnyFolder = attribute::kDirectory | attribute::kHidden | attribute::kSystem;

}  // namespace

void CheckNamesAndSizes(FileSystemService& fileSystem, const DocumentManifest& documents,
                        const std::wstring& docsFolder) {
  // The files on the disc by their names as Windows compares them; none without a folder.
  std::map<std::wstring, std::wstring> onDisc;
  if (!fileSystem.FindEntry(docsFolder, kAnyFolder).empty()) {
    for (const FilePtr& file : fileSystem.GetFolder(docsFolder)->Files()) {
      const std::wstring name = file->Name();
      const auto [twin, added] = onDisc.emplace(UpperCase(name), name);
      if (!added) {
        throw DocumentsRefused(texts::TwinDocuments(twin->second, name));
      }
    }
  }
  for (const DocumentEntry& entry : documents) {
    if (onDisc.count(UpperCase(entry.name)) == 0) {
      throw DocumentsRefused(texts::MissingDocument(entry.name));
    }
    const uint64_t size = fileSystem.OpenForReading(EntryPath(docsFolder, entry.name))->Size();
    if (size != entry.size) {
      throw DocumentsRefused(texts::DocumentOfOtherSize(entry.name, size, entry.size));
    }
  }
}

void CheckDigests(FileSystemService& fileSystem, ProgressView& view,
                  const DocumentManifest& documents, const std::wstring& docsFolder) {
  for (const DocumentEntry& entry : documents) {
    view.ShowMessage2(entry.name);
    if (!Matches(ReadFacts(fileSystem, view, EntryPath(docsFolder, entry.name)), entry)) {
      throw DocumentsRefused(texts::ChangedDocument(entry.name));
    }
  }
}

}  // namespace docrecover
