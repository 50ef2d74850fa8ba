#pragma once

// The file-system service on the plain Win32 API.
//
// Paths longer than MAX_PATH are reached: every call gets the "\\?\" form (LongForm), every
// Path reports the ordinary one. A folder's subfolders and files come from one FindFirstFileExW
// listing. Path and Name are the names the listing gave and never touch the disk, so a walk
// costs one directory read per folder and nothing per file.

#include <cstdint>
#include <string>

#include "platform/FileSystemService.h"

namespace docrecover::win32 {

FileSystemPtr NewWin32FileSystem();

// Whether a listed folder with these attributes and reparse tag (dwReserved0) is a link the walk
// must not enter: a reparse point whose tag IsLinkTag names. Other reparse folders are entered.
bool IsLinkFolder(uint32_t attributes, uint32_t reparseTag);

// The "\\?\" form of path ("\\?\UNC\" for a share), which lifts the MAX_PATH limit. The path is
// first made full as the plain API would make it (relative parts, "." and "..", forward
// slashes), since the "\\?\" form is taken literally. A path already in that form is kept.
std::wstring LongForm(const std::wstring& path);

// The ordinary form of a "\\?\X:" or "\\?\UNC\" path; any other path as it is (a volume path
// such as "\\?\Volume{...}\" has no ordinary form).
std::wstring OrdinaryForm(const std::wstring& path);

}  // namespace docrecover::win32

namespace docrecover {
using win32::NewWin32FileSystem;
}
