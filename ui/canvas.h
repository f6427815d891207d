#pragma once

#include <string_view>

namespace pellum {

// The drawing operations the calibration chart uses, and nothing more.
//
// Coordinates are logical units of the isotropic mapping set by SetIsotropicMapping:
// logical (x, y) lands on device (originX + x * s, originY - y * s) when the viewport
// extent is (W, -H), with s = min(W, H) / windowExtent. Text is drawn in the toolkit's
// default font, unscaled, black on an opaque white background, with the given position as
// the top-left corner of the text. Ellipses have a black one-pixel outline and white fill.
class Canvas {
 public:
  virtual ~Canvas() = default;

  // Paints the whole drawing area white: every paint starts from a clean chart.
  virtual void Clear() = 0;
  virtual void SetIsotropicMapping(int windowExtentX, int windowExtentY, int viewportExtentX,
                                   int viewportExtentY, int viewportOriginX,
                                   int viewportOriginY) = 0;
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  virtual void TextOut(int x, int y, std::string_view text) = 0;
  // The ellipse inscribed in the rectangle with corners (left, top) and (right, bottom).
  virtual void Ellipse(int left, int top, int right, int bottom) = 0;

  // The box TextOut fills for text, in device pixels: a chart measures its texts to keep
  // them inside its area. A canvas that draws nowhere may say 0.
  //   TextWidth("69.130") -> 39 in DejaVu Sans 9 pt; TextHeight() -> 14, one line
  virtual int TextWidth(std::string_view text) const = 0;
  virtual int TextHeight() const = 0;

  // Draws everything after it `zoom` times its size, text and circles included, lines still
  // one pixel wide: a picture smaller than its texts need is drawn as the smallest one that
  // holds them, shrunk. The client area is then clientWidth / zoom device pixels wide. 1
  // at the start of every paint surface.
  virtual void SetZoom(double zoom) = 0;
};

}  // namespace pellum
