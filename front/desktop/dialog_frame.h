#pragma once

#include <Qt>

namespace pellum {

// The frame of the program's modal dialogs and message boxes: a caption bar with the system
// menu and its close button, and no minimise or maximise box. A modal window cannot be set
// aside while the window under it waits, and its fixed layout has nothing to grow into.
// Asking for the caption explicitly (CustomizeWindowHint) is what keeps window managers from
// adding the boxes anyway.
inline constexpr Qt::WindowFlags kDialogFrame = Qt::Dialog | Qt::CustomizeWindowHint |
                                                Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                Qt::WindowCloseButtonHint;

}  // namespace pellum
