#include "ui/Win32MainWindow.h"

#include <utility>

#include "ui/Banner.h"
#include "ui/Layout.h"
#include "ui/ResourceIds.h"
#include "ui/WindowDpi.h"

namespace docrecover::ui {

namespace {

constexpr COLORREF kCream = RGB(255, 255, 208);
constexpr COLORREF kBrown = RGB(128, 64, 0);
constexpr COLORREF kDarkGrey = RGB(64, 64, 64);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);

constexpr const wchar_t* kCaption = L"ZEMO On CD v 1.50 Update";
// The designed face is a bitmap font: it has no glyph for Cyrillic, Greek or CJK whatever the
// character set, Windows links no other font in for it, and at any density but 96 it is snapped
// to its nearest size. The TrueType face is made to its metrics.
constexpr const wchar_t* kDesignedFace = L"MS Sans Serif";
constexpr const wchar_t* kTrueTypeFace = L"Microsoft Sans Serif";
constexpr int kDesignedDpi = 96;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
// WM_DPICHANGED, newer than the headers' Windows 7 target.
constexpr UINT kDpiChanged = 0x02E0;

constexpr PaneLook kBand{kBrown, kCream, /*centredLine=*/false};
constexpr PaneLook kHeading{kBrown, kCream, /*centredLine=*/true};
constexpr PaneLook kMainPane{kBrown, kCream, /*centredLine=*/false};
constexpr PaneLook kSecondPane{kDarkGrey, kCream, /*centredLine=*/false};

using Clock = std::chrono::steady_clock;

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

// The window rectangle, centred on the primary screen's work area, whose client area is the
// layout's at the given density.
RECT CentredFrame(int dpiX, int dpiY) {
  RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, dpiX), TwipsToPixels(kClientHeightTwips, dpiY)};
  if (!AdjustFrameForDpi(&frame, kStyle, kExStyle, dpiY)) {
    throw win32::LastError();
  }
  RECT work{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, /*uiParam=*/0, &work, /*fWinIni=*/0)) {
    throw win32::LastError();
  }
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = work.left + (work.right - work.left - width) / 2;
  const int top = work.top + (work.bottom - work.top - height) / 2;
  return {left, top, left + width, top + height};
}

// 8.25 points of face at dpiY; charset is the script the font must cover.
UniqueFont MakeFont(const wchar_t* face, LONG weight, BYTE charset, int dpiY) {
  LOGFONTW look{};
  look.lfHeight = FontHeight(dpiY);
  look.lfWeight = weight;
  look.lfCharSet = charset;
  look.lfOutPrecision = OUT_DEFAULT_PRECIS;
  look.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  look.lfQuality = DEFAULT_QUALITY;
  look.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  // Where this face is missing, the system's font substitutes choose its stand-in.
  wcscpy_s(look.lfFaceName, face);
  UniqueFont font(CreateFontIndirectW(&look));
  if (!font) {
    throw win32::LastError();
  }
  return font;
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

void Win32MainWindow::AdoptWindowDpi() {
  const int dpi = WindowDpi(Handle(), dpiY_);
  if (dpi == dpiX_ && dpi == dpiY_) {
    return;
  }
  fonts_ = MakeFonts(dpi);
  dpiX_ = dpi;
  dpiY_ = dpi;
  const RECT frame = CentredFrame(dpi, dpi);
  SetWindowPos(Handle(), /*hWndInsertAfter=*/nullptr, frame.left, frame.top,
               frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
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

void Win32MainWindow::ShowMessage(const std::wstring& text) {
  message_->SetTextLater(text);
  Flush();
}

void Win32MainWindow::ShowMessage2(const std::wstring& text) {
  message2_->SetTextLater(text);
  KeepAlive();
}

void Win32MainWindow::KeepAlive() {
  if (Clock::now() - lastFlush_ >= kFrame) {
    Flush();
  }
}

void Win32MainWindow::Pause(int32_t milliseconds) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  Flush();
  for (auto now = Clock::now(); now < deadline; now = Clock::now()) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
    // Wakes for any input, so the window answers while the time runs out.
    MsgWaitForMultipleObjectsEx(/*nCount=*/0, /*pHandles=*/nullptr,
                                static_cast<DWORD>(left.count()), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    Flush();
  }
}

void Win32MainWindow::DisableCancel() {
  if (Handle() == nullptr) {
    return;
  }
  EnableWindow(cancel_, /*bEnable=*/FALSE);
  EnableMenuItem(GetSystemMenu(Handle(), /*bRevert=*/FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  Flush();
}

void Win32MainWindow::Unload() {
  if (Handle() == nullptr) {
    return;
  }
  PutOnScreen();
  DestroyWindow(Handle());
  owner_.reset();
  RethrowPendingFailure();
}

void Win32MainWindow::SetCancelHandler(std::function<void()> onCancel) {
  onCancel_ = std::move(onCancel);
}

void Win32MainWindow::Flush() {
  PutOnScreen();
  RethrowPendingFailure();
}

void Win32MainWindow::PutOnScreen() {
  if (Handle() != nullptr) {
    message_->Present();
    message2_->Present();
    RedrawWindow(Handle(), /*lprcUpdate=*/nullptr, /*hrgnUpdate=*/nullptr,
                 RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
  }
  lastFlush_ = Clock::now();
}

void Win32MainWindow::Pump() {
  MSG message;
  while (PeekMessageW(&message, /*hWnd=*/nullptr, /*wMsgFilterMin=*/0, /*wMsgFilterMax=*/0,
                      PM_REMOVE)) {
    // The dialog manager gives the keyboard its dialog meaning: Tab, Space, Escape as Cancel.
    if (Handle() != nullptr && IsDialogMessageW(Handle(), &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32MainWindow::RethrowPendingFailure() {
  if (pendingFailure_) {
    std::rethrow_exception(std::exchange(pendingFailure_, nullptr));
  }
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

void Win32MainWindow::OnDpiChanged(int dpiX, int dpiY, const RECT& suggested) {
  try {
    Fonts fonts = MakeFonts(dpiY);
    std::swap(fonts_, fonts);
    dpiX_ = dpiX;
    dpiY_ = dpiY;
    ApplyFonts();
    SetWindowPos(Handle(), /*hWndInsertAfter=*/nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    PlaceControls();
    InvalidateRect(Handle(), /*lpRect=*/nullptr, /*bErase=*/TRUE);
  } catch (...) {
    pendingFailure_ = std::current_exception();
  }
}

Win32MainWindow::Fonts Win32MainWindow::MakeFonts(int dpiY) {
  // The panes show paths, in any script: the default character set lets Windows link in fonts
  // for the scripts the face lacks. The fixed texts keep the designed face where it is drawn at
  // its own size.
  const wchar_t* fixedFace = dpiY == kDesignedDpi ? kDesignedFace : kTrueTypeFace;
  Fonts fonts;
  fonts.regular = MakeFont(fixedFace, FW_NORMAL, ANSI_CHARSET, dpiY);
  fonts.bold = MakeFont(fixedFace, FW_BOLD, ANSI_CHARSET, dpiY);
  fonts.panes = MakeFont(kTrueTypeFace, FW_NORMAL, DEFAULT_CHARSET, dpiY);
  return fonts;
}

void Win32MainWindow::ApplyFonts() {
  for (const ControlPlace& place : kControls) {
    const bool pane = place.id == kMessageId || place.id == kMessage2Id;
    const HFONT font = pane                      ? fonts_.panes.get()
                       : place.id == kSubTitleId ? fonts_.bold.get()
                                                 : fonts_.regular.get();
    SendMessageW(GetDlgItem(Handle(), place.id), WM_SETFONT, reinterpret_cast<WPARAM>(font),
                 /*redraw=*/TRUE);
  }
}

void Win32MainWindow::PlaceControls() {
  for (const ControlPlace& place : kControls) {
    const PixelRect pixels = ToPixels(place.twips, dpiX_, dpiY_);
    SetWindowPos(GetDlgItem(Handle(), place.id), /*hWndInsertAfter=*/nullptr, pixels.left,
                 pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
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
