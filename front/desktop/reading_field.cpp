#include "front/desktop/reading_field.h"

#include <QFocusEvent>
#include <QMouseEvent>

namespace pellum {

void ReadingField::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  selectAll();
  // The press that gave the focus goes on to place the cursor, undoing the selection; the
  // release puts it back.
  selectOnRelease_ = event->reason() == Qt::MouseFocusReason;
}

void ReadingField::mouseReleaseEvent(QMouseEvent* event) {
  QLineEdit::mouseReleaseEvent(event);
  if (selectOnRelease_ && !hasSelectedText())
    selectAll();
  selectOnRelease_ = false;
}

}  // namespace pellum
