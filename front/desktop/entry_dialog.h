#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "calib/entry_texts.h"
#include "front/desktop/profile_readings.h"

namespace pellum {

// "Calibration Data": the six silicon reflections, each with its true two-theta and a
// field for the reading off the film. The fields start with the slots' texts; OK stores
// them back (each cut to 18 characters) and is the only way out: Escape and the window's
// close button leave the dialog open, because a calibration cannot be half-abandoned.
//
// Focus starts on OK and Tab goes OK, 1 1 1, 2 2 0, ... 4 2 2, so that OK straight away
// repeats the last calibration.
class EntryDialog : public QDialog {
 public:
  EntryDialog(EntryTexts& entries, QWidget* owner);

  QLineEdit* Field(std::size_t row) const { return fields_.at(row); }
  QPushButton* OkButton() const { return ok_; }

  // "From Profile...": see front/desktop/profile_readings.h.
  QPushButton* FromProfileButton() const { return profile_.Button(); }
  void SetProfilePath(const std::string& path) { profile_.SetPath(path); }
  const std::string& ProfilePath() const { return profile_.Path(); }
  bool ReadingsTaken() const { return profile_.Taken(); }

  void accept() override;
  // Escape, and the close button through closeEvent, end up here: nothing happens.
  void reject() override {}

 private:
  EntryTexts& entries_;
  std::array<QLineEdit*, EntryTexts::kSlotCount> fields_{};
  QPushButton* ok_ = nullptr;
  ProfileReadings profile_;
};

}  // namespace pellum
