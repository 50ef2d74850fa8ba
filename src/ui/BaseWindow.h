#pragma once

// The window-class pattern of the program's windows: a static WndProc binds the C++ object to
// its window on WM_NCCREATE (GWLP_USERDATA) and hands every later message to HandleMessage,
// until WM_NCDESTROY unbinds it. Derived names its class (kClassName) and background brush
// (ClassBackground()); the class is registered the first time a window of it is created.

#include "platform/win32/Win32Error.h"
#include "ui/Win32Api.h"

namespace docrecover::ui {

template <class Derived>
class BaseWindow {
 public:
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;

  // The window, or null before it is created and once it is destroyed.
  HWND Handle() const { return hwnd_; }

 protected:
  BaseWindow() = default;
  // Unbinds first: Derived is gone by now, so the window's last messages go to DefWindowProc.
  virtual ~BaseWindow() {
    if (hwnd_ != nullptr) {
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, /*dwNewLong=*/0);
      DestroyWindow(hwnd_);
    }
  }

  void Create(DWORD exStyle, const wchar_t* text, DWORD style, int x, int y, int width, int height,
              HWND parent, HMENU menuOrId) {
    RegisterOnce();
    if (CreateWindowExW(exStyle, Derived::kClassName, text, style, x, y, width, height, parent,
                        menuOrId, GetModuleHandleW(/*lpModuleName=*/nullptr),
                        /*lpParam=*/static_cast<BaseWindow*>(this)) == nullptr) {
      throw win32::LastError();
    }
  }

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }

 private:
  static void RegisterOnce() {
    // Registered once per process; a failure is kept and reported to every later attempt.
    static const DWORD failure = [] {
      WNDCLASSEXW windowClass{};
      windowClass.cbSize = sizeof(windowClass);
      windowClass.lpfnWndProc = WndProc;
      windowClass.hInstance = GetModuleHandleW(/*lpModuleName=*/nullptr);
      windowClass.hCursor = LoadCursorW(/*hInstance=*/nullptr, IDC_ARROW);
      windowClass.hbrBackground = Derived::ClassBackground();
      windowClass.lpszClassName = Derived::kClassName;
      return RegisterClassExW(&windowClass) != 0 ? DWORD{0} : GetLastError();
    }();
    if (failure != 0) {
      throw win32::Error(failure);
    }
  }

  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    BaseWindow* self = nullptr;
    if (message == WM_NCCREATE) {
      self = static_cast<BaseWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) {
      return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, /*dwNewLong=*/0);
      self->hwnd_ = nullptr;
      return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
  }

  HWND hwnd_ = nullptr;
};

}  // namespace docrecover::ui
