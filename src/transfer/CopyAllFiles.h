#pragma once

#include <string>

#include "platform/Desktop.h"
#include "platform/FileSystemService.h"

namespace docrecover {

// Copies every file that lies directly in pSrcFolder into pDestFolder, showing each file's name
// in view's secondary pane first and keeping view alive during a long copy. A target file,
// whatever its marks (hidden, system, read-only), is replaced with ReplaceWithCopy, and an absent
// one created, so that neither a failure nor a power cut leaves a document partial or blank; the
// new copy brings its own marks. A folder under the name is refused with access denied.
// Subfolders are not entered and no folder is created. fileSystem is the operation's own service
// object. The first failure ends the operation with the platform's error number; documents handled
// before it keep their new copies.
void CopyAllFiles(FileSystemService& fileSystem, ProgressView& view, const std::wstring& pSrcFolder,
                  const std::wstring& pDestFolder);

}  // namespace docrecover
