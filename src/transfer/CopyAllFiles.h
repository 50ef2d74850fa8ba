#pragma once

#include <functional>
#include <string>

#include "platform/FileSystemService.h"

namespace docrecover {

// Copies every file that lies directly in pSrcFolder into pDestFolder, showing each file's name
// with showMessage2 first. A plain target (read-only too) is replaced in one step and an absent
// one created, so that a failing copy leaves the old document whole and no partial file. A hidden
// or system file or a folder under the name is left to the service's overwrite copy. Subfolders
// are not entered and no folder is created. fileSystem is the operation's own service object.
// The first failing service call ends the operation with its error unchanged; documents handled
// before it keep their new copies.
void CopyAllFiles(FileSystemService& fileSystem,
                  const std::function<void(const std::wstring&)>& showMessage2,
                  const std::wstring& pSrcFolder, const std::wstring& pDestFolder);

}  // namespace docrecover
