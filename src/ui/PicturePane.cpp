#include "ui/PicturePane.h"

#include <utility>

namespace docrecover::ui {

namespace {

// A memory device context compatible with dc, deleted on leaving.
class MemoryDc {
 public:
  explicit MemoryDc(HDC dc) : dc_(CreateCompatibleDC(dc)) {}
  ~MemoryDc() { DeleteDC(dc_); }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace

PicturePane::PicturePane(HWND parent, int id, COLORREF background, UniqueBitmap picture)
    : background_(background), picture_(std::move(picture)) {
  BITMAP info{};
  if (GetObjectW(picture_.get(), sizeof(info), &info) == 0) {
    throw win32::LastError();
  }
  pictureSize_ = {info.bmWidth, info.bmHeight};
  Create(/*exStyle=*/0, /*text=*/L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, /*x=*/0, /*y=*/0,
         /*width=*/0, /*height=*/0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

LRESULT PicturePane::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return TRUE;  // OnPaint fills the whole pane
    case WM_PAINT:
      OnPaint();
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

void PicturePane::OnPaint() {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(Handle(), &paint);
  RECT client;
  GetClientRect(Handle(), &client);
  SetDCBrushColor(dc, background_);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  const MemoryDc source(dc);
  const SelectedObject selected(source.Get(), picture_.get());
  BitBlt(dc, /*x=*/0, /*y=*/0, pictureSize_.cx, pictureSize_.cy, source.Get(), /*x1=*/0,
         /*y1=*/0, SRCCOPY);
  EndPaint(Handle(), &paint);
}

}  // namespace docrecover::ui
