#include "ListingReplay.h"

#include <windows.h>

#include <array>
#include <cwchar>
#include <string>
#include <unordered_map>
#include <vector>

#include "ImportPatch.h"

namespace docrecover::bench {

namespace {

using FindFirstFileExWFunction = HANDLE(WINAPI*)(LPCWSTR, FINDEX_INFO_LEVELS, LPVOID,
                                                 FINDEX_SEARCH_OPS, LPVOID, DWORD);
using FindNextFileWFunction = BOOL(WINAPI*)(HANDLE, LPWIN32_FIND_DATAW);
using FindCloseFunction = BOOL(WINAPI*)(HANDLE);

FindFirstFileExWFunction systemFindFirst = nullptr;
FindNextFileWFunction systemFindNext = nullptr;
FindCloseFunction systemFindClose = nullptr;

struct Entry {
  DWORD attributes;
  std::wstring name;
};
using Listing = std::vector<Entry>;

// Listings by pattern, without a "\\?\" prefix, so that both spellings of a folder share one.
std::unordered_map<std::wstring, Listing>& Listings() {
  static std::unordered_map<std::wstring, Listing> listings;
  return listings;
}

// An open replayed listing; its address is the find handle.
struct Cursor {
  const Listing* listing = nullptr;  // null while the cursor is free
  size_t next = 0;
};
// More than any walk holds open at once: the floor one per level, the service one at a time.
std::array<Cursor, 64> cursors;

Cursor* CursorOf(HANDLE handle) {
  auto* cursor = static_cast<Cursor*>(handle);
  return cursor >= cursors.data() && cursor < cursors.data() + cursors.size() ? cursor : nullptr;
}

void Fill(const Entry& entry, void* data) {
  auto& found = *static_cast<WIN32_FIND_DATAW*>(data);
  found.dwFileAttributes = entry.attributes;
  std::wmemcpy(found.cFileName, entry.name.c_str(), entry.name.size() + 1);
}

// The system's own listing of pattern, every entry; false when it cannot be listed.
bool Record(LPCWSTR pattern, FINDEX_INFO_LEVELS level, DWORD flags, Listing& listing) {
  WIN32_FIND_DATAW data;
  const HANDLE find = systemFindFirst(pattern, level, &data, FindExSearchNameMatch,
                                      /*lpSearchFilter=*/nullptr, flags);
  if (find == INVALID_HANDLE_VALUE) {
    return false;
  }
  do {
    listing.push_back(Entry{data.dwFileAttributes, data.cFileName});
  } while (systemFindNext(find, &data));
  systemFindClose(find);
  return true;
}

HANDLE WINAPI ReplayFindFirst(LPCWSTR pattern, FINDEX_INFO_LEVELS level, LPVOID data,
                              FINDEX_SEARCH_OPS op, LPVOID filter, DWORD flags) {
  std::wstring key = pattern;
  if (key.rfind(L"\\\\?\\", 0) == 0) {
    key.erase(0, 4);
  }
  auto listing = Listings().find(key);
  if (listing == Listings().end()) {
    Listing recorded;
    if (op != FindExSearchNameMatch || filter != nullptr ||
        !Record(pattern, level, flags, recorded)) {
      return systemFindFirst(pattern, level, data, op, filter, flags);
    }
    listing = Listings().emplace(std::move(key), std::move(recorded)).first;
  }
  if (listing->second.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  for (Cursor& cursor : cursors) {
    if (cursor.listing == nullptr) {
      cursor = Cursor{&listing->second, 1};
      Fill(listing->second[0], data);
      return &cursor;
    }
  }
  SetLastError(ERROR_NO_MORE_SEARCH_HANDLES);
  return INVALID_HANDLE_VALUE;
}

BOOL WINAPI ReplayFindNext(HANDLE handle, LPWIN32_FIND_DATAW data) {
  Cursor* cursor = CursorOf(handle);
  if (cursor == nullptr) {
    return systemFindNext(handle, data);
  }
  if (cursor->next == cursor->listing->size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  Fill((*cursor->listing)[cursor->next++], data);
  return TRUE;
}

BOOL WINAPI ReplayFindClose(HANDLE handle) {
  Cursor* cursor = CursorOf(handle);
  if (cursor == nullptr) {
    return systemFindClose(handle);
  }
  cursor->listing = nullptr;
  return TRUE;
}

}  // namespace

void ReplayListings() {
  systemFindFirst = PatchImport("FindFirstFileExW", &ReplayFindFirst);
  systemFindNext = PatchImport("FindNextFileW", &ReplayFindNext);
  systemFindClose = PatchImport("FindClose", &ReplayFindClose);
}

}  // namespace docrecover::bench
