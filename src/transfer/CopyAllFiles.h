#pragma once

#include <string>

#include "platform/Desktop.h"
#include "platform/FileSystemService.h"
#include "transfer/DocumentManifest.h"

namespace docrecover {

// Copies every file that lies directly in pSrcFolder into pDestFolder, showing each file's name
// in view's secondary pane first and keeping view alive during a long copy. A target file,
// whatever its marks (hidden, system, read-only), is replaced with ReplaceWithCopy, and an absent
// one created, so that neither a failure nor a power cut leaves a document partial or blank; the
// new copy brings its own marks. A folder under the name is refused with access denied.
// Subfolders are not entered and no folder is created. fileSystem is the operation's own service
// object. The first failure ends the operation with the platform's error number; documents handled
// before it keep their new copies.
// With documents, what is copied is the list, in its order, never the folder's listing: a file in
// pSrcFolder not on it is left alone, and each copy is checked against its entry before it takes
// its document's place (see ReplaceWithCopy). Without, every file directly in pSrcFolder is copied.
void CopyAllFiles(FileSystemService& fileSystem, ProgressView& view, const std::wstring& pSrcFolder,
                  const std::wstring& pDestFolder, const DocumentManifest* documents = nullptr);

}  // namespace docrecover
