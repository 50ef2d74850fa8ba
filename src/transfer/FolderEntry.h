#pragma once

// What stands at a name in a folder, as the copy and the deletion judge it. Each test is one
// directory lookup, so each is one call of the service.

#include <string>

#include "platform/FileSystemService.h"

namespace docrecover {

// folderPath, one backslash, name; a drive root ("E:\") already ends with its backslash.
std::wstring EntryPath(const std::wstring& folderPath, const std::wstring& name);

// A file that is neither hidden nor system (read-only and archive do not matter): the lookup with
// mask 0. The only kind of entry the deletion removes.
bool IsPlainFile(FileSystemService& fileSystem, const std::wstring& path);

// A file whatever its marks; never a folder.
bool IsAnyFile(FileSystemService& fileSystem, const std::wstring& path);

}  // namespace docrecover
