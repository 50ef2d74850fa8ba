#include "ui/Win32MainWindow.h"

#include <utility>

#include "ui/Banner.h"
#include "ui/Layout.h"
#include "ui/ResourceIds.h"

namespace docrecover::ui {

namespace {

constexpr COLORREF kCream = RGB(255, 255, 208);
constexpr COLORREF kBrown = RGB(128, 64, 0);
constexpr COLORREF kDarkGrey = RGB(64, 64, 64);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);

constexpr const wchar_t* kCaption = L"ZEMO On CD v 1.50 Update";
// What Windows shows the user who logs off while the documents are copied.
constexpr const wchar_t* kCopyingReason = L"New documents are being copied. Please wait.";
// WM_DPICHANGED, newer than the headers' Windows 7 target.
constexpr UINT kDpiChanged = 0x02E0;

constexpr PaneLook kBand{kBrown, kCream, /*centredLine=*/false};
constexpr PaneLook kHeading{kBrown, kCream, /*centredLine=*/true};
constexpr PaneLook kMainPane{kBrown, kCream, /*centredLine=*/false};
constexpr PaneLook kSecondPane{kDarkGrey, kCream, /*centredLine=*/false};

// Keeps the z-order equal to the order of creation, whichever end the system adds a child at:
// the tab order follows it, and the bands, created last, stay behind everything.
void SendToBack(HWND child) {
  SetWindowPos(child, HWND_BOTTOM, /*X=*/0, /*Y=*/0, /*cx=*/0, /*cy=*/0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

UniqueIcon LoadProgramIcon(int sizeMetric) {
  const int size = GetSystemMetrics(sizeMetric);
  UniqueIcon icon(static_cast<HICON>(LoadImageW(GetModuleHandleW(/*lpModuleName=*/nullptr),
                                                MAKEINTRESOURCEW(DOCRECOVER_ICON), IMAGE_ICON, size,
                                                size, LR_DEFAULTCOLOR)));
  if (!icon) {
    throw win32::LastError();
  }
  return icon;
}

UniqueWindow MakeOwner() {
  UniqueWindow owner(CreateWindowExW(/*dwExStyle=*/0, L"STATIC", /*lpWindowName=*/L"", WS_POPUP,
                                     /*X=*/0, /*Y=*/0, /*nWidth=*/0, /*nHeight=*/0,
                                     /*hWndParent=*/nullptr, /*hMenu=*/nullptr,
                                     GetModuleHandleW(/*lpModuleName=*/nullptr),
                                     /*lpParam=*/nullptr));
  if (!owner) {
    throw win32::LastError();
  }
  return owner;
}

}  // namespace

Win32MainWindow::Win32MainWindow()
    : dpiX_(GetDeviceCaps(ScreenDc().Get(), LOGPIXELSX)),
      dpiY_(GetDeviceCaps(ScreenDc().Get(), LOGPIXELSY)),
      fonts_(MakeFonts(dpiY_)),
      bigIcon_(LoadProgramIcon(SM_CXICON)),
      smallIcon_(LoadProgramIcon(SM_CXSMICON)),
      owner_(MakeOwner()) {
  const RECT frame = CentredFrame(dpiX_, dpiY_);
  Create(kExStyle, kCaption, kStyle, frame.left, frame.top, frame.right - frame.left,
         frame.bottom - frame.top, owner_.get(), /*menuOrId=*/nullptr);
  // Should a control fail, the window goes now, while every member its messages reach exists.
  try {
    AdoptWindowDpi();
    AddControls();
  } catch (...) {
    DestroyWindow(Handle());
    throw;
  }
}

void Win32MainWindow::AddControls() {
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));

  // Created in tab order; each goes to the back of the z-order as it comes.
  cancel_ = CreateWindowExW(
      /*dwExStyle=*/0, L"BUTTON", L"Cancel",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | BS_PUSHBUTTON, /*X=*/0, /*Y=*/0,
      /*nWidth=*/0, /*nHeight=*/0, Handle(),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCancelId)),
      GetModuleHandleW(/*lpModuleName=*/nullptr), /*lpParam=*/nullptr);
  if (cancel_ == nullptr) {
    throw win32::LastError();
  }
  SendToBack(cancel_);
  message_ = std::make_unique<TextPane>(Handle(), kMessageId, kMainPane, L"");
  SendToBack(message_->Handle());
  live_ = std::make_unique<LiveRegion>(message_->Handle());
  message2_ = std::make_unique<TextPane>(Handle(), kMessage2Id, kSecondPane, L"");
  SendToBack(message2_->Handle());
  messageBand_ = std::make_unique<TextPane>(Handle(), kMessageBandId, kBand, L"");
  SendToBack(messageBand_->Handle());
  picture_ =
      std::make_unique<PicturePane>(Handle(), kPictureId, kCream, LoadBanner(DOCRECOVER_BANNER));
  SendToBack(picture_->Handle());
  subTitle_ = std::make_unique<TextPane>(Handle(), kSubTitleId, kHeading, L"ZEMO On CD");
  SendToBack(subTitle_->Handle());
  version_ = std::make_unique<TextPane>(Handle(), kVersionId, kHeading, L"Version 1.50 Update");
  SendToBack(version_->Handle());
  message2Band_ = std::make_unique<TextPane>(Handle(), kMessage2BandId, kBand, L"");
  SendToBack(message2Band_->Handle());
  headerBand_ = std::make_unique<TextPane>(Handle(), kHeaderBandId, kBand, L"");
  SendToBack(headerBand_->Handle());

  ApplyFonts();
  PlaceControls();
}

Win32MainWindow::~Win32MainWindow() {
  // Children first, while their C++ objects still exist; then the owner goes with owner_.
  if (Handle() != nullptr) {
    ReleaseLogoff();
    live_.reset();
    DestroyWindow(Handle());
  }
}

void Win32MainWindow::Show() {
  if (Handle() == nullptr) {
    return;
  }
  ShowWindow(Handle(), SW_SHOWNORMAL);
  SetFocus(cancel_);
  UpdateWindow(Handle());
}

void Win32MainWindow::DisableCancel() {
  if (Handle() == nullptr) {
    return;
  }
  EnableWindow(cancel_, /*bEnable=*/FALSE);
  EnableMenuItem(GetSystemMenu(Handle(), /*bRevert=*/FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  // The documents are copied next. Windows may end the program at any point once the session
  // ends; the documents would stay whole, but a temporary copy and a mix of old and new ones
  // would be left. The answer to WM_QUERYENDSESSION holds logoff off; the reason, which must be
  // given from this thread, tells the user why. Wine fails it with error 120: the answer alone
  // still holds logoff off there.
  holdingLogoff_ = true;
  ShutdownBlockReasonCreate(Handle(), kCopyingReason);
  Flush();
}

void Win32MainWindow::ReleaseLogoff() {
  if (std::exchange(holdingLogoff_, false)) {
    // Fails likewise where the reason could not be given; there is then nothing to remove.
    ShutdownBlockReasonDestroy(Handle());
  }
}

void Win32MainWindow::Unload() {
  if (Handle() == nullptr) {
    return;
  }
  pacer_.RepaintNow();
  ReleaseLogoff();
#ifdef DOCRECOVER_BENCH_EXTRA_REPAINT_MS
  PublishPacing(false);
#endif
  live_.reset();
  DestroyWindow(Handle());
  owner_.reset();
  RethrowPendingFailure();
}

void Win32MainWindow::SetCancelHandler(std::function<void()> onCancel) {
  onCancel_ = std::move(onCancel);
}

LRESULT Win32MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) {
        OnCommand(LOWORD(wParam));
      }
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_QUERYENDSESSION:
      return holdingLogoff_ ? FALSE : Default(message, wParam, lParam);
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        return Default(message, wParam, lParam);
      }
      OnActivate();
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case kDpiChanged:
      OnDpiChanged(LOWORD(wParam), HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

void Win32MainWindow::OnCommand(int id) {
  if (id == kCancelId && IsWindowEnabled(cancel_)) {
    RequestCancel();
  }
}

void Win32MainWindow::OnClose() {
  // The close box is Cancel by another name; it never closes the window itself.
  if (IsWindowEnabled(cancel_)) {
    RequestCancel();
  }
}

void Win32MainWindow::OnActivate() {
  // Back from a message box, the keyboard belongs to Cancel again while it can take it.
  SetFocus(IsWindowEnabled(cancel_) ? cancel_ : Handle());
}

void Win32MainWindow::OnPaint() {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(Handle(), &paint);
  const int row = SeparatorRow(dpiY_);
  const int width = TwipsToPixels(kClientWidthTwips, dpiX_);
  const HBRUSH brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
  const RECT line2{0, row, width, row + 1};
  SetDCBrushColor(dc, kGrey);
  FillRect(dc, &line2, brush);
  const RECT line3{0, row + 1, width, row + 2};
  SetDCBrushColor(dc, kWhite);
  FillRect(dc, &line3, brush);
  EndPaint(Handle(), &paint);
}

void Win32MainWindow::RequestCancel() {
  if (!onCancel_) {
    return;
  }
  try {
    onCancel_();
  } catch (...) {
    pendingFailure_ = std::current_exception();
  }
}

}  // namespace docrecover::ui
