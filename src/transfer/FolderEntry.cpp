#include "transfer/FolderEntry.h"

namespace docrecover {

namespace {

constexpr uint32_t kPlainFiles = 0;
constexpr uint32_t kAllFiles = attribute::kHidden | attribute::kSystem;

}  // namespace

std::wstring EntryPath(const std::wstring& folderPath, const std::wstring& name) {
  if (!folderPath.empty() && folderPath.back() == L'\\') {
    return folderPath + name;
  }
  return folderPath + L'\\' + name;
}

bool IsPlainFile(FileSystemService& fileSystem, const std::wstring& path) {
  return !fileSystem.FindEntry(path, kPlainFiles).empty();
}

bool IsAnyFile(FileSystemService& fileSystem, const std::wstring& path) {
  return !fileSystem.FindEntry(path, kAllFiles).empty();
}

}  // namespace docrecover
