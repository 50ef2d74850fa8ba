#include "ui/WindowDpi.h"

namespace docrecover::ui {

namespace {

// A function of user32, which every window program has loaded, or null where it has none.
template <class Function>
Function User32Function(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

int WindowDpi(HWND window, int screenDpi) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  // It answers 0 for a window it does not know.
  const UINT dpi = getDpiForWindow != nullptr ? getDpiForWindow(window) : 0;
  return dpi != 0 ? static_cast<int>(dpi) : screenDpi;
}

BOOL AdjustFrameForDpi(RECT* frame, DWORD style, DWORD exStyle, int dpi) {
  using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
  if (adjustForDpi != nullptr) {
    return adjustForDpi(frame, style, /*bMenu=*/FALSE, exStyle, static_cast<UINT>(dpi));
  }
  return AdjustWindowRectEx(frame, style, /*bMenu=*/FALSE, exStyle);
}

}  // namespace docrecover::ui
