#include "ui/Layout.h"

namespace docrecover::ui {

int TwipsToPixels(int twips, int dpi) {
  // Every layout value is non-negative, so adding half a unit rounds to nearest.
  return (twips * dpi + 720) / 1440;
}

PixelRect ToPixels(const TwipsRect& rect, int dpiX, int dpiY) {
  return {TwipsToPixels(rect.left, dpiX), TwipsToPixels(rect.top, dpiY),
          TwipsToPixels(rect.left + rect.width, dpiX), TwipsToPixels(rect.top + rect.height, dpiY)};
}

int SeparatorRow(int dpiY) {
  return TwipsToPixels(kLine2Twips, dpiY);
}

int FontHeight(int dpiY) {
  // 8.25 points are 825/7200 inch; rounded, 11 pixels at 96 dpi.
  return -((825 * dpiY + 3600) / 7200);
}

}  // namespace docrecover::ui
