#include "ListingCounter.h"

#include <windows.h>

#include "ImportPatch.h"

namespace docrecover::bench {

namespace {

using FindFirstFileExWFunction = HANDLE(WINAPI*)(LPCWSTR, FINDEX_INFO_LEVELS, LPVOID,
                                                 FINDEX_SEARCH_OPS, LPVOID, DWORD);

FindFirstFileExWFunction originalFindFirstFileExW = nullptr;

std::map<std::wstring, long>& Listings() {
  static std::map<std::wstring, long> listings;
  return listings;
}

// "\\?\D:\Folder\*" -> "D:\Folder", "D:\*" -> "D:\": the folder a listing pattern lists.
std::wstring FolderOfPattern(std::wstring pattern) {
  if (pattern.rfind(L"\\\\?\\", 0) == 0) {
    pattern.erase(0, 4);
  }
  const size_t lastSlash = pattern.find_last_of(L'\\');
  pattern.resize(lastSlash == std::wstring::npos ? 0 : lastSlash);
  if (pattern.size() == 2 && pattern[1] == L':') {
    pattern += L'\\';
  }
  return pattern;
}

HANDLE WINAPI CountingFindFirstFileExW(LPCWSTR lpFileName, FINDEX_INFO_LEVELS fInfoLevelId,
                                       LPVOID lpFindFileData, FINDEX_SEARCH_OPS fSearchOp,
                                       LPVOID lpSearchFilter, DWORD dwAdditionalFlags) {
  ++Listings()[FolderOfPattern(lpFileName)];
  return originalFindFirstFileExW(lpFileName, fInfoLevelId, lpFindFileData, fSearchOp,
                                  lpSearchFilter, dwAdditionalFlags);
}

}  // namespace

void CountListings() {
  originalFindFirstFileExW = PatchImport("FindFirstFileExW", &CountingFindFirstFileExW);
}

const std::map<std::wstring, long>& ListingsPerFolder() {
  return Listings();
}

}  // namespace docrecover::bench
