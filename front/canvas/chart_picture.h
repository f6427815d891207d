#pragma once

#include <QByteArray>
#include <QSize>
#include <functional>

#include "ui/canvas.h"
#include "ui/picture_format.h"

namespace pellum {

// Draws a picture in memory: paint is given a PainterCanvas on a device of `area` pixels
// and draws onto it as it would onto the window. The caller writes the bytes where they
// belong, so a picture that could not be drawn never reaches a file.
//
//   Svg: an SVG whose view box is the area, at 96 pixels per inch
//   Png: a PNG of the area, white where nothing is drawn
//   Pdf: one page of the area's size at 96 pixels per inch
// At 96 pixels per inch, as on a screen, the default font stands to the chart as it does
// in the window.
//
// False when the area is empty or the toolkit could not draw or encode the picture.
bool DrawPicture(PictureFormat format, QSize area, const std::function<void(Canvas&)>& paint,
                 QByteArray& bytes);

}  // namespace pellum
