#pragma once

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <string>

namespace pellum {

// The Calibration Data dialog's "From Profile...": the button opens the file dialog on
// profiles, starting on Path(); the six silicon reflections are looked for in the chosen
// profile and the fields get the readings found ("28.3650", "-1" for one not found); a
// note under the fields says which were not found, and gives each reading found with its
// standard uncertainty ("28.3650 ± 0.0004"; the fields keep the plain number). The user may
// edit them before OK. A set of lines that is not silicon's is refused in a box with why.
// A profile that cannot be read, or holds no reflection at all, is said in a message box
// and the fields stay as they were.
//
// With a reference other than the built-in table chosen, the button says in a box that
// finding that reference's lines is not available yet, and the fields stay as they were.
//
// The button is not in the Tab order, which stays OK and the six fields, but Alt+P
// presses it.
class ProfileReadings {
 public:
  // Puts the button and the note in row of grid, below the fields.
  void AddTo(QGridLayout& grid, int row, const std::array<QLineEdit*, 6>& fields, QWidget* dialog);

  QPushButton* Button() const { return button_; }
  QLabel* Note() const { return note_; }
  void SetPath(const std::string& path) { path_ = path; }
  // The profile chosen last (when Taken()), or where the file dialog starts.
  const std::string& Path() const { return path_; }
  // Whether the dialog shows another reference than the built-in table.
  void SetOtherReference(bool other) { otherReference_ = other; }
  // Whether the fields were filled from a profile.
  bool Taken() const { return taken_; }

  // What the button does: ask for a profile and take its readings.
  void Take();

 private:
  std::array<QLineEdit*, 6> fields_{};
  QWidget* dialog_ = nullptr;
  QPushButton* button_ = nullptr;
  QLabel* note_ = nullptr;
  std::string path_;
  bool taken_ = false;
  bool otherReference_ = false;
};

}  // namespace pellum
