#pragma once

#include <QIcon>

namespace pellum {

// The program's icon, a strip of Guinier film with its diffraction lines, rendered from
// the built-in SVG at 16, 32, 48 and 256 pixels so that every window decoration and task
// bar finds a sharp size without relying on an SVG icon plug-in.
QIcon ProgramIcon();

}  // namespace pellum
