#pragma once

// A read-only text pane: flat, no border, no scroll bars, never a tab stop, drawn in its own
// colours. Its text lives here: WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH answer from it, so
// the message operations can replace it without the cost of a control update each time. The
// text stored with the window, which screen readers in other processes read without asking the
// pane, follows when the pane is painted.

#include <string>

#include "ui/BaseWindow.h"

namespace docrecover::ui {

struct PaneLook {
  COLORREF text;
  COLORREF background;
  // One centred line; otherwise left-aligned lines that wrap at the pane's width, honour CR LF
  // and are cut off at the bottom edge.
  bool centredLine;
};

class TextPane : public BaseWindow<TextPane> {
 public:
  static constexpr const wchar_t* kClassName = L"DocRecoverPane";
  static HBRUSH ClassBackground() { return nullptr; }

  // A child pane of parent with control id; the parent places it.
  TextPane(HWND parent, int id, PaneLook look, const std::wstring& text);

  const std::wstring& Text() const { return text_; }
  // Replaces the text at once, for everyone who asks the pane; the screen follows at Present.
  void SetTextLater(const std::wstring& text);
  // Has the pane repainted if its text changed since the last Present; a no-op once destroyed.
  void Present();

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnSetText(const wchar_t* text);
  LRESULT OnGetText(size_t capacity, wchar_t* buffer) const;
  void OnPaint();

  PaneLook look_;
  std::wstring text_;
  HFONT font_ = nullptr;  // set by the parent with WM_SETFONT, owned by it
  bool stale_ = false;    // text_ changed since it was last put on screen
  bool unnamed_ = false;  // the text stored with the window is older than text_
};

}  // namespace docrecover::ui
