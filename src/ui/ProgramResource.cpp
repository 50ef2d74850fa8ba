#include "ui/ProgramResource.h"

#include "platform/win32/Win32Error.h"
#include "ui/Win32Api.h"

namespace docrecover::ui {

std::optional<std::string_view> ProgramResource(int resourceId) {
  const HMODULE program = GetModuleHandleW(/*lpModuleName=*/nullptr);
  const HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(resourceId), RT_RCDATA);
  if (found == nullptr) {
    const DWORD error = GetLastError();
    if (error == ERROR_RESOURCE_DATA_NOT_FOUND || error == ERROR_RESOURCE_TYPE_NOT_FOUND ||
        error == ERROR_RESOURCE_NAME_NOT_FOUND) {
      return std::nullopt;
    }
    throw win32::Error(error, L"resource " + std::to_wstring(resourceId));
  }
  const HGLOBAL loaded = LoadResource(program, found);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) {
    throw win32::LastError(L"resource " + std::to_wstring(resourceId));
  }
  return std::string_view(static_cast<const char*>(bytes), SizeofResource(program, found));
}

}  // namespace docrecover::ui
