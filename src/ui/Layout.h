#pragma once

// frmMain's layout in twips (1/1440 inch) from the client area's top-left corner, and the stable
// control IDs by which tests and automation tools find the controls. Portable: no Windows header.

#include <array>

namespace docrecover::ui {

// Control IDs. cmdCancel has IDCANCEL (2), so the dialog manager turns Escape into its command.
inline constexpr int kCancelId = 2;          // cmdCancel, push button "Cancel"
inline constexpr int kMessageId = 101;       // txtMessage, the main message pane
inline constexpr int kMessage2Id = 102;      // txtMessage2, the secondary message pane
inline constexpr int kSubTitleId = 103;      // txtSubTitle, "ZEMO On CD"
inline constexpr int kVersionId = 104;       // Text2, "Version 1.50 Update"
inline constexpr int kPictureId = 105;       // picMain, the banner
inline constexpr int kHeaderBandId = 111;    // Text4, the cream band behind the header
inline constexpr int kMessageBandId = 112;   // Text1, the cream band behind txtMessage
inline constexpr int kMessage2BandId = 113;  // Text3, the cream band behind txtMessage2

inline constexpr int kClientWidthTwips = 4860;
inline constexpr int kClientHeightTwips = 4500;
// The etched separator: a grey line, and a white one directly beneath it.
inline constexpr int kLine2Twips = 3870;

struct TwipsRect {
  int left;
  int top;
  int width;
  int height;
};

struct ControlPlace {
  int id;
  TwipsRect twips;
};

// In tab order, which is also the z-order from the top: the bands come last and so lie behind
// every control they share space with.
inline constexpr std::array<ControlPlace, 9> kControls = {{
    {kCancelId, {3510, 4020, 1215, 375}},
    {kMessageId, {120, 810, 4605, 1275}},
    {kMessage2Id, {120, 2640, 4605, 945}},
    {kMessageBandId, {0, 720, 4875, 1695}},
    {kPictureId, {120, 60, 2445, 645}},
    {kSubTitleId, {2670, 150, 2025, 255}},
    {kVersionId, {2640, 390, 2055, 255}},
    {kMessage2BandId, {0, 2400, 4875, 1455}},
    {kHeaderBandId, {0, 0, 4875, 705}},
}};

struct PixelRect {
  int left;
  int top;
  int right;
  int bottom;
};

// Twips to pixels at dpi dots per inch, rounded to the nearest pixel (exact at 96 for multiples
// of 15 twips).
int TwipsToPixels(int twips, int dpi);

// A rectangle's edges converted one by one, so neighbouring controls stay flush at any density.
PixelRect ToPixels(const TwipsRect& rect, int dpiX, int dpiY);

// The pixel row of the grey separator line; the white one is always the row beneath it, even
// where rounding would put both lines of the separator on one row.
int SeparatorRow(int dpiY);

// The height (as a negative LOGFONT height, in pixels) of an 8.25-point font at dpiY.
int FontHeight(int dpiY);

}  // namespace docrecover::ui
