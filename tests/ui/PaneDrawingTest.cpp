// What the message panes draw: one line per CR LF part, wrapping at the pane's width, and a
// text taller than the pane cut off at the bottom with its first lines in view.

#include <vector>

#include "WindowFixture.h"

namespace docrecover::ui {
namespace {

// The pane's pixels, as the screen shows them, one 0x00RRGGBB value per pixel, row by row.
struct Capture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  // Whether any pixel of row y differs from the pane's background.
  bool Inked(int y) const {
    for (int x = 0; x < width; ++x) {
      if (pixels[static_cast<size_t>(y) * width + x] != kCream) {
        return true;
      }
    }
    return false;
  }
  static constexpr uint32_t kCream = 0xFFFFD0;
};

Capture CapturePane(HWND pane) {
  RECT client{};
  GetClientRect(pane, &client);
  Capture capture;
  capture.width = client.right;
  capture.height = client.bottom;
  capture.pixels.resize(static_cast<size_t>(capture.width) * capture.height);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = capture.width;
  info.bmiHeader.biHeight = -capture.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HDC screen = GetDC(pane);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, capture.width, capture.height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* source = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < capture.pixels.size(); ++i) {
    capture.pixels[i] = source[i] & 0xFFFFFF;
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(pane, screen);
  return capture;
}

// The runs of inked rows: one per line of text drawn.
struct Band {
  int top;
  int bottom;  // exclusive
};

std::vector<Band> InkBands(const Capture& capture) {
  std::vector<Band> bands;
  for (int y = 0; y < capture.height; ++y) {
    if (!capture.Inked(y)) {
      continue;
    }
    if (!bands.empty() && bands.back().bottom == y) {
      bands.back().bottom = y + 1;
    } else {
      bands.push_back({y, y + 1});
    }
  }
  return bands;
}

using PaneDrawingTest = WindowFixture;

TEST_F(PaneDrawingTest, LineBreaksAndWrappingGiveOneBandOfInkPerLine) {
  const std::wstring words =
      L"every word of this sentence is short but together they are far wider than the pane";
  const struct {
    const wchar_t* what;
    std::wstring text;
    size_t lines;
    bool wraps;  // lines is then the least number, as the font decides the rest
  } table[] = {
      {L"empty", L"", 0, false},
      {L"one line", L"Searching drive C:", 1, false},
      {L"two lines", L"Searching\r\ndrive C:", 2, false},
      {L"a paragraph break", L"Searching\r\n\r\ndrive C:", 2, false},
      {L"a long line wraps", words, 2, true},
      {L"a path without spaces wraps too", std::wstring(80, L'W'), 2, true},
  };
  for (const int id : {kMessageId, kMessage2Id}) {
    for (const auto& row : table) {
      SCOPED_TRACE(std::wstring(row.what) + L" in pane " + std::to_wstring(id));
      id == kMessageId ? window_.ShowMessage(row.text) : window_.ShowMessage2(row.text);
      window_.Flush();
      const std::vector<Band> bands = InkBands(CapturePane(Control(id)));
      if (row.wraps) {
        EXPECT_GE(bands.size(), row.lines);
      } else {
        EXPECT_EQ(bands.size(), row.lines);
      }
    }
  }
}

TEST_F(PaneDrawingTest, ATextTallerThanThePaneIsCutOffAtTheBottomWithItsTopInView) {
  const HWND pane = Control(kMessage2Id);
  window_.ShowMessage2(L"Top line");
  window_.Flush();
  const Capture alone = CapturePane(pane);
  const std::vector<Band> first = InkBands(alone);
  ASSERT_EQ(first.size(), 1u);

  std::wstring tall = L"Top line";
  for (int i = 2; i <= 30; ++i) {
    tall += L"\r\nline " + std::to_wstring(i);
  }
  window_.ShowMessage2(tall);
  window_.Flush();
  const Capture shown = CapturePane(pane);
  const std::vector<Band> bands = InkBands(shown);
  // The pane holds a few lines, the last of them perhaps in part; the rest is cut off.
  ASSERT_GE(bands.size(), 3u);
  EXPECT_LT(bands.size(), 30u);
  EXPECT_GE(bands.back().bottom, shown.height - 13) << "the lines reach the bottom edge";
  // The first line is drawn where it is drawn alone: nothing scrolled.
  EXPECT_EQ(bands.front().top, first.front().top);
  for (int y = first.front().top; y < first.front().bottom; ++y) {
    for (int x = 0; x < shown.width; ++x) {
      ASSERT_EQ(shown.pixels[static_cast<size_t>(y) * shown.width + x],
                alone.pixels[static_cast<size_t>(y) * alone.width + x]);
    }
  }
  const auto style = static_cast<DWORD>(GetWindowLongW(pane, GWL_STYLE));
  EXPECT_EQ(style & (WS_VSCROLL | WS_HSCROLL), 0u);
}

}  // namespace
}  // namespace docrecover::ui
