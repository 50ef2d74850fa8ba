#pragma once

// The real main window, shown, for the window's tests; and small readers of what it shows.

#include <gtest/gtest.h>

#include <string>

#include "ui/Layout.h"
#include "ui/Win32MainWindow.h"

namespace docrecover::ui {

// A control's text as automation reads it: WM_GETTEXTLENGTH, then WM_GETTEXT.
inline std::wstring TextOf(HWND control) {
  const auto length = static_cast<size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(length + 1, L'\0');
  const auto copied = static_cast<size_t>(
      SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  text.resize(copied);
  return text;
}

// A control's rectangle in its parent's client coordinates.
inline RECT PlaceOf(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(/*hWndFrom=*/nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.SetCancelHandler([this] { ++cancels_; });
    window_.Show();
    window_.Flush();
  }

  HWND Main() const { return window_.Handle(); }
  HWND Control(int id) const { return GetDlgItem(Main(), id); }

  Win32MainWindow window_;
  int cancels_ = 0;
};

}  // namespace docrecover::ui
