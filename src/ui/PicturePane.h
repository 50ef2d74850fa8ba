#pragma once

// picMain: a flat pane in its background colour with a bitmap at its top-left corner, unscaled
// and cut off where the pane ends.

#include "ui/BaseWindow.h"
#include "ui/GdiObject.h"

namespace docrecover::ui {

class PicturePane : public BaseWindow<PicturePane> {
 public:
  static constexpr const wchar_t* kClassName = L"DocRecoverPicture";
  static HBRUSH ClassBackground() { return nullptr; }

  // A child of parent with control id, showing picture; the parent places it.
  PicturePane(HWND parent, int id, COLORREF background, UniqueBitmap picture);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnPaint();

  COLORREF background_;
  UniqueBitmap picture_;
  SIZE pictureSize_{};
};

}  // namespace docrecover::ui
