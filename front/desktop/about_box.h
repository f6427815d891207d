#pragma once

#include <QDialog>
#include <QPushButton>

namespace pellum {

// The About box: the icon, the program's name and version, what it is for and who made
// it. It has no caption bar, only a frame, and OK is the only way to close it.
class AboutBox : public QDialog {
 public:
  explicit AboutBox(QWidget* owner);

  QPushButton* OkButton() const { return ok_; }

  // Escape does not close the box.
  void reject() override {}

 private:
  QPushButton* ok_ = nullptr;
};

}  // namespace pellum
