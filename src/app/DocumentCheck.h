#pragma once

// The disc's documents against the list the program vouches for, before anything is touched.
// Files on the disc that are not on the list never stop the run: they are never copied, and a
// copy of the disc gains some as soon as it is browsed (Thumbs.db, desktop.ini), which would turn
// an honest USB stick away.

#include <stdexcept>
#include <string>

#include "platform/Desktop.h"
#include "transfer/DocumentManifest.h"

namespace docrecover {

// The disc's documents are not those of the list; problem says which and how, for the user.
class DocumentsRefused : public std::runtime_error {
 public:
  explicit DocumentsRefused(std::wstring problem)
      : std::runtime_error("documents refused"), problem_(std::move(problem)) {}
  const std::wstring& Problem() const noexcept { return problem_; }

 private:
  std::wstring problem_;
};

// At start-up: every listed document lies in docsFolder at its size, and no two files there have
// names that differ only in letter case (which one Windows opens is anybody's guess). Reads names
// and sizes only. Throws DocumentsRefused.
void CheckNamesAndSizes(FileSystemService& fileSystem, const DocumentManifest& documents,
                        const std::wstring& docsFolder);

// At the start of the copy phase: each listed document read once, its digest compared, its name
// shown in view's secondary pane meanwhile. Throws DocumentsRefused.
void CheckDigests(FileSystemService& fileSystem, ProgressView& view,
                  const DocumentManifest& documents, const std::wstring& docsFolder);

}  // namespace docrecover
