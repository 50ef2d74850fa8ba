#pragma once

#include <string>

#include "platform/Desktop.h"
#include "platform/FileSystemService.h"

namespace docrecover {

// Deletes from pDestFolder every plain file (read-only too) named like a file that lies directly
// in pSrcFolder, showing each source file's name in view's secondary pane first. Hidden and system
// files, folders and anything in subfolders are spared. fileSystem is the operation's own service
// object. The first failing service call ends the operation with its error unchanged; files
// deleted before it stay deleted.
void DeleteAllFiles(FileSystemService& fileSystem, ProgressView& view,
                    const std::wstring& pSrcFolder, const std::wstring& pDestFolder);

}  // namespace docrecover
