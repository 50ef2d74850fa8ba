#include "BenchDocuments.h"

#include <algorithm>

namespace docrecover::bench {

DocumentManifest ListOf(FileSystemService& fileSystem, const std::wstring& folder) {
  NoWindow window;
  DocumentManifest documents;
  for (const FilePtr& file : fileSystem.GetFolder(folder)->Files()) {
    const FileFacts facts = ReadFacts(fileSystem, window, file->Path());
    documents.push_back({file->Name(), facts.size, facts.sha256});
  }
  std::ranges::sort(documents, {}, &DocumentEntry::name);
  return documents;
}

}  // namespace docrecover::bench
