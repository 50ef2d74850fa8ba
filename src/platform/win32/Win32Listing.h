#pragma once

// The listings of the Win32 service: FindFirstFileExW, the folders and files it gives, and drives.
// A folder's subfolders and files come from one listing. Path and Name are the names the listing
// gave and never touch the disk, so a walk costs one directory read per folder and nothing per
// file.

#include <windows.h>
// <windows.h> renames these to their W forms; the service's members keep their own names.
#undef DeleteFile
#undef CopyFile
#undef MoveFile
#undef ReplaceFile

#include <string>

#include "platform/FileSystemService.h"
#include "platform/win32/Win32Error.h"

namespace docrecover::win32 {

// Owns a find handle.
class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  ~FindHandle() {
    if (valid()) {
      FindClose(handle_);
    }
  }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// Calls visit for every entry that FindFirstFileExW lists for pattern (as the system gets it)
// but "." and "..", until visit returns false. Nothing matching is no failure (an empty drive
// root has not even "." and ".."); other failures throw, naming path.
template <class Visit>
void ForEachEntry(const std::wstring& pattern, const std::wstring& path, DWORD flags, Visit visit) {
  WIN32_FIND_DATAW data;
  FindHandle find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                   /*lpSearchFilter=*/nullptr, flags));
  if (!find.valid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) {
      return;
    }
    throw Error(error, path);
  }
  const auto isDotEntry = [](const wchar_t* name) {
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
  };
  do {
    if (!isDotEntry(data.cFileName) && !visit(data)) {
      return;
    }
  } while (FindNextFileW(find.get(), &data));
  if (GetLastError() != ERROR_NO_MORE_FILES) {
    throw LastError(path);
  }
}

// The folder at path; fails unless it is an existing folder.
FolderPtr OpenFolder(const std::wstring& path);

// The drive of that letter.
DrivePtr NewWin32Drive(wchar_t letter);

}  // namespace docrecover::win32
