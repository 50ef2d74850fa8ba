// The main window at a density: its frame, its fonts and where its controls lie.

#include <utility>

#include "ui/Layout.h"
#include "ui/Win32MainWindow.h"
#include "ui/WindowDpi.h"

namespace docrecover::ui {

namespace {

// The designed face is a bitmap font: it has no glyph for Cyrillic, Greek or CJK whatever the
// character set, Windows links no other font in for it, and at any density but 96 it is snapped
// to its nearest size. The TrueType face is made to its metrics.
constexpr const wchar_t* kDesignedFace = L"MS Sans Serif";
constexpr const wchar_t* kTrueTypeFace = L"Microsoft Sans Serif";
constexpr int kDesignedDpi = 96;

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

RECT Win32MainWindow::CentredFrame(int dpiX, int dpiY) {
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

}  // namespace docrecover::ui
