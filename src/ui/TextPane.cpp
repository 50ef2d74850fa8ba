#include "ui/TextPane.h"

#include <algorithm>
#include <new>

#include "ui/GdiObject.h"

namespace docrecover::ui {

namespace {

// The gap between the pane's edge and its text, in pixels.
constexpr int kMargin = 1;

}  // namespace

TextPane::TextPane(HWND parent, int id, PaneLook look, const std::wstring& text)
    : look_(look), text_(text) {
  Create(/*exStyle=*/0, text.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, /*x=*/0, /*y=*/0,
         /*width=*/0, /*height=*/0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void TextPane::SetTextLater(const std::wstring& text) {
  text_ = text;
  stale_ = true;
  unnamed_ = true;
}

void TextPane::Present() {
  if (stale_ && Handle() != nullptr) {
    InvalidateRect(Handle(), /*lpRect=*/nullptr, /*bErase=*/FALSE);
  }
  stale_ = false;
}

LRESULT TextPane::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT:
      return OnSetText(reinterpret_cast<const wchar_t*>(lParam));
    case WM_GETTEXT:
      return OnGetText(wParam, reinterpret_cast<wchar_t*>(lParam));
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(text_.size());
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam) != 0) {
        InvalidateRect(Handle(), /*lpRect=*/nullptr, /*bErase=*/FALSE);
      }
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_ERASEBKGND:
      return TRUE;  // OnPaint fills the whole pane
    case WM_PAINT:
      OnPaint();
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

LRESULT TextPane::OnSetText(const wchar_t* text) {
  // The sender learns of a text too large to keep from the result, as with any control; an
  // exception must not cross the window procedure.
  try {
    text_ = text != nullptr ? text : L"";
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
  stale_ = false;
  unnamed_ = true;
  InvalidateRect(Handle(), /*lpRect=*/nullptr, /*bErase=*/FALSE);
  return TRUE;
}

LRESULT TextPane::OnGetText(size_t capacity, wchar_t* buffer) const {
  if (capacity == 0 || buffer == nullptr) {
    return 0;
  }
  const size_t copied = std::min(text_.size(), capacity - 1);
  std::copy_n(text_.data(), copied, buffer);
  buffer[copied] = L'\0';
  return static_cast<LRESULT>(copied);
}

void TextPane::OnPaint() {
  // Painting is paced, so storing the text shown here is cheap. On Windows the call also raises
  // the name-change event that screen readers follow. Should it fail, the next paint tries again.
  if (unnamed_ && Default(WM_SETTEXT, /*wParam=*/0, reinterpret_cast<LPARAM>(text_.c_str()))) {
    unnamed_ = false;
  }
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(Handle(), &paint);
  RECT client;
  GetClientRect(Handle(), &client);
  SetDCBrushColor(dc, look_.background);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  if (!text_.empty()) {
    const SelectedObject font(dc, font_ != nullptr ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, look_.text);
    SetBkMode(dc, TRANSPARENT);
    RECT area = client;
    InflateRect(&area, -kMargin, -kMargin);
    const UINT format = DT_NOPREFIX | (look_.centredLine ? DT_CENTER | DT_VCENTER | DT_SINGLELINE
                                                         : DT_LEFT | DT_WORDBREAK | DT_EDITCONTROL);
    // DrawTextW clips to area: a text taller than the pane ends at its bottom edge.
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &area, format);
  }
  EndPaint(Handle(), &paint);
}

}  // namespace docrecover::ui
