#include "platform/FileSystemService.h"

namespace docrecover {

namespace {

// "X:" or "X:\" : a drive root, which has no parent.
bool IsDriveRoot(const std::wstring& path) {
  return (path.size() == 2 || (path.size() == 3 && path[2] == L'\\')) && path[1] == L':';
}

}  // namespace

std::wstring_view Utf16Prefix(std::wstring_view name, size_t units) {
  size_t used = 0;
  size_t end = 0;
  while (end < name.size()) {
    const auto unit = static_cast<uint32_t>(name[end]);
    const bool pair = unit >= 0xD800 && unit < 0xDC00 && end + 1 < name.size() &&
                      name[end + 1] >= 0xDC00 && name[end + 1] < 0xE000;  // a high, then a low
    const size_t width = pair || unit > 0xFFFF ? 2 : 1;
    if (used + width > units) {
      break;
    }
    used += width;
    end += pair ? 2 : 1;
  }
  return name.substr(0, end);
}

bool IsLinkTag(uint32_t tag) {
  return tag == 0 || (tag & reparse_tag::kNameSurrogate) != 0;
}

std::wstring FileSystemService::GetParentFolderName(const std::wstring& path) {
  std::wstring rest = path;
  while (rest.size() > 1 && rest.back() == L'\\' && !IsDriveRoot(rest)) {
    rest.pop_back();
  }
  if (IsDriveRoot(rest)) {
    return L"";
  }
  const size_t slash = rest.find_last_of(L'\\');
  if (slash == std::wstring::npos) {
    return L"";
  }
  std::wstring parent = rest.substr(0, slash);
  while (parent.size() > 1 && parent.back() == L'\\') {
    parent.pop_back();
  }
  if (parent.size() == 2 && parent[1] == L':') {
    parent += L'\\';  // the parent is a drive root, which keeps its backslash
  }
  return parent;
}

}  // namespace docrecover
