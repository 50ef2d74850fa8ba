#pragma once

// The file-system service on the plain Win32 API.
//
// Paths longer than MAX_PATH are reached: every call uses the "\\?\" form, every Path reports
// the ordinary one. A folder's subfolders and files come from one FindFirstFileExW listing.
// Path and Name are the names the listing gave and never touch the disk, so a walk costs one
// directory read per folder and nothing per file.

#include <string>

#include "platform/FileSystemService.h"

namespace docrecover::win32 {

FileSystemPtr NewWin32FileSystem();

// The service's drive type code for a GetDriveTypeW value.
int32_t DriveTypeCode(unsigned win32DriveType);

// The "\\?\" form of an absolute path ("\\?\UNC\" for a share), which lifts the MAX_PATH limit.
std::wstring LongForm(const std::wstring& path);

}  // namespace docrecover::win32

namespace docrecover {
using win32::NewWin32FileSystem;
}
