#pragma once

// The file-system service on the plain Win32 API. Its jobs lie in three files: the path forms
// (Win32Paths), the listings of folders and drives (Win32Listing), and the file operations here.

#include <cstdint>

#include "platform/FileSystemService.h"

namespace docrecover::win32 {

FileSystemPtr NewWin32FileSystem();

// Whether a listed folder with these attributes and reparse tag (dwReserved0) is a link the walk
// must not enter: a reparse point whose tag IsLinkTag names. Other reparse folders are entered.
bool IsLinkFolder(uint32_t attributes, uint32_t reparseTag);

}  // namespace docrecover::win32

namespace docrecover {
using win32::NewWin32FileSystem;
}
