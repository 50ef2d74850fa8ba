#include <windows.h>

#include "platform/win32/Win32Paths.h"

#include <algorithm>
#include <iterator>

#include "platform/win32/Win32Error.h"

namespace docrecover::win32 {

namespace {

constexpr wchar_t kLongPrefix[] = L"\\\\?\\";
constexpr wchar_t kLongUncPrefix[] = L"\\\\?\\UNC\\";
constexpr wchar_t kDevicePrefix[] = L"\\\\.\\";

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// The full path as GetFullPathNameW makes it, in the ordinary form.
std::wstring FullPath(const std::wstring& path) {
  if (path.empty()) {
    throw Error(ERROR_PATH_NOT_FOUND);  // names nothing; the API's own answer varies
  }
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()),
                                          full.data(), /*lpFilePart=*/nullptr);
    if (length == 0) {
      throw LastError(path);
    }
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);  // too small: length is the size needed, with the terminating null
  }
}

// path, full: as it is when it is full and plain, else as GetFullPathNameW makes it.
std::wstring Full(const std::wstring& path) {
  return IsFullAndPlain(path) ? path : FullPath(path);
}

}  // namespace

bool IsFullAndPlain(std::wstring_view path) {
  if (StartsWith(path, kLongPrefix) || StartsWith(path, kDevicePrefix)) {
    return false;
  }
  size_t rest = 0;  // where the components after the root begin
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\' &&
      ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'))) {
    rest = 3;
  } else if (StartsWith(path, L"\\\\")) {
    // "\\server\share\": two components that must not be empty, and the backslash after them.
    const size_t server = path.find(L'\\', 2);
    const size_t share = server == std::wstring_view::npos ? server : path.find(L'\\', server + 1);
    if (share == std::wstring_view::npos || server == 2 || share == server + 1) {
      return false;
    }
    rest = share + 1;
  } else {
    return false;
  }
  if (path.find(L'/') != std::wstring_view::npos) {
    return false;
  }
  if (rest == path.size()) {
    return true;  // the root itself
  }
  for (size_t start = rest;;) {
    const size_t end = std::min(path.find(L'\\', start), path.size());
    const std::wstring_view component = path.substr(start, end - start);
    if (component.empty() || component == L"." || component == L"..") {
      return false;
    }
    if (end == path.size()) {
      return true;
    }
    start = end + 1;
  }
}

std::wstring LongForm(const std::wstring& path) {
  return StartsWith(path, kLongPrefix) ? path : LongFormOfFull(Full(path));
}

std::wstring LongFormOfFull(const std::wstring& full, std::wstring_view tail) {
  std::wstring_view prefix;
  size_t kept = 0;  // where the part of full after the prefix begins
  if (StartsWith(full, kLongPrefix) || StartsWith(full, kDevicePrefix)) {
    // already long (a volume path), or a device ("\\.\COM1"), which has no long form
  } else if (StartsWith(full, L"\\\\")) {
    prefix = kLongUncPrefix;
    kept = 2;
  } else {
    prefix = kLongPrefix;
  }
  std::wstring longForm;
  longForm.reserve(prefix.size() + full.size() - kept + tail.size());
  longForm.append(prefix).append(full, kept).append(tail);
  return longForm;
}

std::wstring OrdinaryForm(const std::wstring& path) {
  if (StartsWith(path, kLongUncPrefix)) {
    return L"\\\\" + path.substr(std::size(kLongUncPrefix) - 1);
  }
  // Only a drive path has an ordinary form; "\\?\Volume{...}\" and the like keep their prefix,
  // since without it they would be taken as relative paths.
  const size_t rest = std::size(kLongPrefix) - 1;
  if (StartsWith(path, kLongPrefix) && path.size() > rest + 1 && path[rest + 1] == L':') {
    return path.substr(rest);
  }
  return path;
}

std::wstring FolderPath(const std::wstring& path) {
  // "C:" becomes "C:\", and trailing backslashes go: before the path is made full, so that a
  // folder whose name ends with a dot stays full and plain, and after, for those it brings.
  const auto trimmed = [](std::wstring folder) {
    if (folder.size() == 2 && folder[1] == L':') {
      folder += L'\\';
    }
    while (folder.size() > 1 && folder.back() == L'\\' && !IsDriveRoot(folder)) {
      folder.pop_back();
    }
    return folder;
  };
  return trimmed(Full(trimmed(OrdinaryForm(path))));
}

std::wstring SearchPattern(const std::wstring& path) {
  if (IsFullAndPlain(path)) {
    return LongFormOfFull(path);
  }
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) {
    return path;  // a bare name: the API resolves it in the working folder
  }
  return LongForm(path.substr(0, slash + 1)) + path.substr(slash + 1);
}

bool IsDriveRoot(const std::wstring& path) {
  return path.size() == 3 && path[1] == L':' && path[2] == L'\\';
}

std::wstring Join(const std::wstring& folder, std::wstring_view name) {
  const bool separated = !folder.empty() && folder.back() == L'\\';
  std::wstring path;
  path.reserve(folder.size() + 1 + name.size());
  path.append(folder);
  if (!separated) {
    path += L'\\';
  }
  path.append(name);
  return path;
}

}  // namespace docrecover::win32
