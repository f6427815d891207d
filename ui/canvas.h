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
};

}  // namespace pellum
