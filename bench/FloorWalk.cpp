#include "FloorWalk.h"

#include <windows.h>

#include <cstdio>

namespace docrecover::bench {

namespace {

bool IsDotEntry(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

// Lists path (which ends with a backslash) and recurses into its subfolders; path is restored
// before returning, so one buffer serves the whole walk.
void Walk(std::wstring& path, WalkCount& count) {
  ++count.folders;
  const size_t length = path.size();
  path += L'*';
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileExW(path.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                       /*lpSearchFilter=*/nullptr, FIND_FIRST_EX_LARGE_FETCH);
  path.resize(length);
  if (find == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) {
      ++count.unreadable;
      std::fwprintf(stderr, L"cannot list %ls: error %lu\n", path.c_str(), error);
    }
    return;
  }
  do {
    if (IsDotEntry(data.cFileName)) {
      continue;
    }
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      ++count.files;
    } else if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
      ++count.folders;  // a link: visited, not entered
    } else {
      path += data.cFileName;
      path += L'\\';
      Walk(path, count);
      path.resize(length);
    }
  } while (FindNextFileW(find, &data));
  const DWORD error = GetLastError();
  FindClose(find);
  if (error != ERROR_NO_MORE_FILES) {
    ++count.unreadable;
    std::fwprintf(stderr, L"listing %ls stopped: error %lu\n", path.c_str(), error);
  }
}

}  // namespace

WalkCount FloorWalk(const std::wstring& root) {
  WalkCount count;
  std::wstring path = root;
  if (path.empty() || path.back() != L'\\') {
    path += L'\\';
  }
  Walk(path, count);
  return count;
}

}  // namespace docrecover::bench
