#include "ListingCounter.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/Win32Error.h"

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

// Points one import slot at replacement.
void Patch(IMAGE_THUNK_DATA& slot, ULONG_PTR replacement) {
  DWORD protection = 0;
  if (!VirtualProtect(&slot.u1.Function, sizeof(slot.u1.Function), PAGE_READWRITE, &protection)) {
    throw win32::LastError();
  }
  slot.u1.Function = replacement;
  if (!VirtualProtect(&slot.u1.Function, sizeof(slot.u1.Function), protection, &protection)) {
    throw win32::LastError();
  }
}

}  // namespace

void CountListings() {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(/*lpModuleName=*/nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       module->Name != 0; ++module) {
    // The lookup table names each import; the address table beside it holds what is called.
    const auto* names =
        reinterpret_cast<const IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
        continue;
      }
      const auto* byName =
          reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "FindFirstFileExW") == 0) {
        originalFindFirstFileExW = reinterpret_cast<FindFirstFileExWFunction>(slots->u1.Function);
        Patch(*slots, reinterpret_cast<ULONG_PTR>(&CountingFindFirstFileExW));
        return;
      }
    }
  }
  throw win32::Error(ERROR_PROC_NOT_FOUND);
}

const std::map<std::wstring, long>& ListingsPerFolder() {
  return Listings();
}

}  // namespace docrecover::bench
