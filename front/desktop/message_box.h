#pragma once

#include <QWidget>
#include <string_view>

#include "ui/message_kind.h"

namespace pellum {

// Shows text under caption with the kind's icon and one OK button, and returns when the
// user presses it. The box belongs to owner and blocks it while open: a second Open from
// the menu cannot start while the first one is still reporting, and so cannot have its
// file names emptied by the first one's failure.
void ShowMessageBox(QWidget* owner, std::string_view text, std::string_view caption,
                    MessageKind kind);

}  // namespace pellum
