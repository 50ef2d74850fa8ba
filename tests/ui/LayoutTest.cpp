// The window as it lies on the screen: frame, fixed texts, control rectangles and colours.

#include <cstdlib>

#include "WindowFixture.h"

namespace docrecover::ui {
namespace {

struct Expected {
  int id;
  RECT pixels;  // left, top, right, bottom in client pixels
};

bool At96Dpi() {
  const HDC screen = GetDC(nullptr);
  const bool at96 =
      GetDeviceCaps(screen, LOGPIXELSX) == 96 && GetDeviceCaps(screen, LOGPIXELSY) == 96;
  ReleaseDC(nullptr, screen);
  return at96;
}

using LayoutTest = WindowFixture;

TEST_F(LayoutTest, ControlsLieWhereTheTableSaysAt96Dpi) {
  if (!At96Dpi()) {
    GTEST_SKIP() << "the screen is not at 96 dpi";
  }
  // Left, top, width and height from the window's design, in pixels at 96 dpi.
  const Expected table[] = {
      {kHeaderBandId, {0, 0, 325, 47}},
      {kPictureId, {8, 4, 8 + 163, 4 + 43}},
      {kSubTitleId, {178, 10, 178 + 135, 10 + 17}},
      {kVersionId, {176, 26, 176 + 137, 26 + 17}},
      {kMessageBandId, {0, 48, 325, 48 + 113}},
      {kMessageId, {8, 54, 8 + 307, 54 + 85}},
      {kMessage2BandId, {0, 160, 325, 160 + 97}},
      {kMessage2Id, {8, 176, 8 + 307, 176 + 63}},
      {kCancelId, {234, 268, 234 + 81, 268 + 25}},
  };
  for (const Expected& expected : table) {
    SCOPED_TRACE(expected.id);
    const RECT actual = PlaceOf(Control(expected.id));
    EXPECT_EQ(actual.left, expected.pixels.left);
    EXPECT_EQ(actual.top, expected.pixels.top);
    EXPECT_EQ(actual.right, expected.pixels.right);
    EXPECT_EQ(actual.bottom, expected.pixels.bottom);
  }
  RECT client{};
  GetClientRect(Main(), &client);
  EXPECT_EQ(client.right, 324);
  EXPECT_EQ(client.bottom, 300);
}

TEST_F(LayoutTest, ADensityChangeLaysTheWindowOutAgain) {
  // 144 dpi, 10 pixels per 100 twips: edges at half pixels round up.
  RECT frame{0, 0, 486, 450};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(Main(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(Main(), GWL_EXSTYLE)));
  OffsetRect(&frame, 40 - frame.left, 30 - frame.top);
  SendMessageW(Main(), 0x02E0 /*WM_DPICHANGED*/, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&frame));
  window_.Flush();

  const Expected table[] = {
      {kCancelId, {351, 402, 473, 440}},
      {kMessageId, {12, 81, 473, 209}},
      {kHeaderBandId, {0, 0, 488, 71}},
  };
  for (const Expected& expected : table) {
    SCOPED_TRACE(expected.id);
    const RECT actual = PlaceOf(Control(expected.id));
    EXPECT_EQ(actual.left, expected.pixels.left);
    EXPECT_EQ(actual.top, expected.pixels.top);
    EXPECT_EQ(actual.right, expected.pixels.right);
    EXPECT_EQ(actual.bottom, expected.pixels.bottom);
  }
  RECT client{};
  GetClientRect(Main(), &client);
  EXPECT_EQ(client.right, 486);
  EXPECT_EQ(client.bottom, 450);
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Control(kMessageId), WM_GETFONT, 0, 0)),
             sizeof(font), &font);
  EXPECT_EQ(font.lfHeight, -17);  // 8.25 points at 144 dpi
}

TEST_F(LayoutTest, FixedDialogFrameWithoutTaskBarButtonCentredOnTheScreen) {
  EXPECT_EQ(TextOf(Main()), L"ZEMO On CD v 1.50 Update");
  const auto style = static_cast<DWORD>(GetWindowLongW(Main(), GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongW(Main(), GWL_EXSTYLE));
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
  EXPECT_NE(exStyle & WS_EX_DLGMODALFRAME, 0u);
  EXPECT_EQ(exStyle & WS_EX_APPWINDOW, 0u);
  // An owned window gets no task-bar button; its owner never shows.
  const HWND owner = GetWindow(Main(), GW_OWNER);
  ASSERT_NE(owner, nullptr);
  EXPECT_FALSE(IsWindowVisible(owner));

  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT frame{};
  GetWindowRect(Main(), &frame);
  EXPECT_LE(std::abs((frame.left + frame.right) - (work.left + work.right)), 1);
  EXPECT_LE(std::abs((frame.top + frame.bottom) - (work.top + work.bottom)), 1);
  EXPECT_NE(SendMessageW(Main(), WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageW(Main(), WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_EQ(TextOf(Control(kSubTitleId)), L"ZEMO On CD");
  EXPECT_EQ(TextOf(Control(kVersionId)), L"Version 1.50 Update");
  EXPECT_EQ(TextOf(Control(kCancelId)), L"Cancel");
}

// The font the system realises for a control's WM_GETFONT, as a DC draws with it.
struct Realised {
  std::wstring face;
  TEXTMETRICW metrics{};
};

Realised RealisedFont(HWND control) {
  const HDC dc = GetDC(control);
  const HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  Realised realised;
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  realised.face = face;
  GetTextMetricsW(dc, &realised.metrics);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return realised;
}

int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool Installed(const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  wcscpy_s(wanted.lfFaceName, face);
  bool found = false;
  const HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &wanted, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

TEST_F(LayoutTest, TextsDrawInMsSansSerifBoldOnlyForTheSubTitle) {
  // Where the face is missing (a Wine prefix without Wine's own fonts), the substitute is the
  // system's choice; weight and character set still hold.
  const bool installed = Installed(L"MS Sans Serif");
  const struct {
    int id;
    LONG weight;
  } table[] = {{kSubTitleId, FW_BOLD},
               {kVersionId, FW_NORMAL},
               {kMessageId, FW_NORMAL},
               {kMessage2Id, FW_NORMAL},
               {kCancelId, FW_NORMAL}};
  for (const auto& row : table) {
    SCOPED_TRACE(row.id);
    const Realised font = RealisedFont(Control(row.id));
    if (installed) {
      EXPECT_EQ(font.face, L"MS Sans Serif");
    }
    EXPECT_EQ(font.metrics.tmWeight, row.weight);
    EXPECT_EQ(font.metrics.tmCharSet, ANSI_CHARSET);
    EXPECT_FALSE(font.metrics.tmItalic || font.metrics.tmUnderlined || font.metrics.tmStruckOut);
  }
}

// What the window shows at a client point, children included.
COLORREF PixelAt(HWND window, int x, int y) {
  // Without DCX_USESTYLE the DC ignores WS_CLIPCHILDREN and so sees the controls too.
  const HDC dc = GetDCEx(window, /*hrgnClip=*/nullptr, DCX_CACHE);
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

TEST_F(LayoutTest, CreamBandsBannerAndEtchedSeparatorAt96Dpi) {
  if (!At96Dpi()) {
    GTEST_SKIP() << "the screen is not at 96 dpi";
  }
  const COLORREF cream = RGB(255, 255, 208);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const struct {
    int x, y;
    COLORREF colour;
    const char* what;
  } table[] = {
      {300, 2, cream, "header band right of the headings"},
      {168, 45, cream, "picture pane beyond the banner"},
      {100, 47, face, "the gap between header and main band"},
      {320, 100, cream, "main band right of the pane"},
      {300, 120, cream, "main pane"},
      {300, 230, cream, "secondary pane"},
      {100, 257, face, "above the separator"},
      {100, 258, RGB(128, 128, 128), "grey line of the separator"},
      {100, 259, RGB(255, 255, 255), "white line beneath it"},
      {10, 285, face, "the button strip"},
  };
  for (const auto& point : table) {
    SCOPED_TRACE(point.what);
    EXPECT_EQ(PixelAt(Main(), point.x, point.y), point.colour);
  }
  // The banner's paper is lighter in blue than the cream around it: the picture is there,
  // unscaled from the pane's top-left corner (8, 4).
  const COLORREF paper = PixelAt(Main(), 8 + 12, 4 + 20);
  EXPECT_GE(GetBValue(paper), 224);
  EXPECT_GE(GetRValue(paper), 240);
  const COLORREF frameEdge = PixelAt(Main(), 8 + 77, 4 + 1);
  EXPECT_LT(GetGValue(frameEdge), 160) << "the banner's brown frame is at its top";
}

}  // namespace
}  // namespace docrecover::ui
