#pragma once

#include <QLineEdit>

namespace pellum {

// An entry field that selects its whole text when it takes the focus, by mouse as by
// keyboard, so that a reading typed into it replaces the "-1" instead of making "-128.365"
// of it, a negative reading that would silently be left out. A click selects all unless
// the user drags a selection of their own; a later click places the cursor as usual.
class ReadingField : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool selectOnRelease_ = false;
};

}  // namespace pellum
