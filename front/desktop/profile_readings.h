#pragma once

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "refs/reference_choice.h"

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
// With a reference other than the built-in table chosen, its lines are looked for instead
// (LineSetOf, FindLinesInProfile): its fields get the readings found, each with its standard
// uncertainty as the field's tip, and the note says how many of its lines were found and
// names the first ones not found. A set that is not that reference's is refused in a box
// with why ("The lines found are not those of LaB6 SRM 660c!"), and so is a profile that
// holds none of its lines; the fields then stay as they were.
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
  // The reference the dialog shows when it is not the built-in table, and its lines' fields
  // in the order of its lines; none: the built-in table and its six fields.
  void SetOtherReference(std::optional<Reference> reference, std::vector<QLineEdit*> fields) {
    otherReference_ = std::move(reference);
    otherFields_ = std::move(fields);
  }
  // Whether the fields were filled from a profile.
  bool Taken() const { return taken_; }

  // What the button does: ask for a profile and take its readings.
  void Take();

 private:
  // The open-file dialog on profiles; false when the user cancels.
  bool AskForProfile(std::string& path);
  // "From Profile..." with another reference: its lines looked for in the profile.
  void TakeOtherReference();

  std::array<QLineEdit*, 6> fields_{};
  QWidget* dialog_ = nullptr;
  QPushButton* button_ = nullptr;
  QLabel* note_ = nullptr;
  std::string path_;
  bool taken_ = false;
  std::optional<Reference> otherReference_;
  std::vector<QLineEdit*> otherFields_;
};

}  // namespace pellum
