#pragma once

// Owners for the Win32 handles and memory the window code creates, released when the owner goes.

#include <memory>
#include <type_traits>

#include "ui/Win32Api.h"

namespace docrecover::ui {

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct WindowDeleter {
  void operator()(HWND window) const { DestroyWindow(window); }
};
struct KernelHandleDeleter {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
// What the system hands out with LocalAlloc (security descriptors, among others).
struct LocalDeleter {
  void operator()(void* memory) const { LocalFree(memory); }
};

template <class Handle, class Deleter>
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<Handle>, Deleter>;

using UniqueFont = UniqueHandle<HFONT, GdiObjectDeleter>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectDeleter>;
using UniqueIcon = UniqueHandle<HICON, IconDeleter>;
using UniqueWindow = UniqueHandle<HWND, WindowDeleter>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleDeleter>;
using UniqueLocal = std::unique_ptr<void, LocalDeleter>;

// The screen's device context, for measuring.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(/*hWnd=*/nullptr)) {}
  ~ScreenDc() { ReleaseDC(/*hWnd=*/nullptr, dc_); }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// Selects an object into a device context and puts the previous one back on leaving.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, previous_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace docrecover::ui
