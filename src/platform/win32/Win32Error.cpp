#include <windows.h>

#include "platform/win32/Win32Error.h"

namespace docrecover::win32 {

std::wstring SystemMessage(unsigned long error) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      /*lpSource=*/nullptr, error, /*dwLanguageId=*/0, reinterpret_cast<wchar_t*>(&buffer),
      /*nSize=*/0, /*Arguments=*/nullptr);
  std::wstring message = length != 0 ? std::wstring(buffer, length) : L"";
  LocalFree(buffer);
  while (!message.empty() &&
         (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ')) {
    message.pop_back();
  }
  // A number the system has no text for still gets a message that says which it is.
  return message.empty() ? L"Error " + std::to_wstring(error) + L"." : message;
}

PlatformError Error(unsigned long error, const std::wstring& context) {
  const std::wstring message = SystemMessage(error);
  return PlatformError(error, context.empty() ? message : message + L" (" + context + L")");
}

PlatformError LastError(const std::wstring& context) {
  return Error(GetLastError(), context);
}

}  // namespace docrecover::win32
