#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <array>
#include <string>
#include <vector>

#include "app/reference_entries.h"
#include "calib/entry_texts.h"
#include "front/desktop/profile_readings.h"
#include "front/desktop/reference_row.h"

namespace pellum {

// "Calibration Data": the six silicon reflections, each with its true two-theta and a
// field for the reading off the film. The fields start with the slots' texts; OK stores
// them back (each cut to 18 characters) and is the only way out: Escape and the window's
// close button leave the dialog open, because a calibration cannot be half-abandoned.
//
// Focus starts on OK and Tab goes OK, 1 1 1, 2 2 0, ... 4 2 2, so that OK straight away
// repeats the last calibration.
//
// Above the fields, the Reference row (front/desktop/reference_row.h) chooses what the
// readings are of. With another reference than the built-in table the six rows give way to
// one row per line of that reference, its hkl and its two-theta to three decimals
// ("1 1 1", "42.828"), in a list that scrolls when the lines are many; Tab then goes OK and
// those fields. Readings typed for a reference are kept when the user switches to another
// and back; OK stores the choice and every reference's readings into the ReferenceEntries.
class EntryDialog : public QDialog {
 public:
  // On the built-in table; the choice made in the row is not kept anywhere.
  EntryDialog(EntryTexts& entries, QWidget* owner);
  EntryDialog(EntryTexts& entries, ReferenceEntries& reference, QWidget* owner);

  QLineEdit* Field(std::size_t row) const { return fields_.at(row); }
  QPushButton* OkButton() const { return ok_; }
  const ReferenceRow& Choice() const { return row_; }
  // The scrolling list of another reference's lines (hidden with the built-in table) and
  // its fields, one per line in order of two-theta.
  QScrollArea* LinesArea() const { return linesArea_; }
  const std::vector<QLineEdit*>& LineFields() const { return lineFields_; }

  // "From Profile...": see front/desktop/profile_readings.h.
  QPushButton* FromProfileButton() const { return profile_.Button(); }
  void SetProfilePath(const std::string& path) { profile_.SetPath(path); }
  const std::string& ProfilePath() const { return profile_.Path(); }
  bool ReadingsTaken() const { return profile_.Taken(); }

  void accept() override;
  // Escape, and the close button through closeEvent, end up here: nothing happens.
  void reject() override {}

 private:
  void Build();
  // Shows the fields of the reference the row names, keeping the readings of the one before.
  void ShowReference();
  void KeepLineReadings();

  EntryTexts& entries_;
  ReferenceEntries ownReference_;
  ReferenceEntries* reference_ = nullptr;
  ReferenceEntries working_;  // the choice and readings until OK
  std::array<QLineEdit*, EntryTexts::kSlotCount> fields_{};
  std::vector<QWidget*> tableWidgets_;  // the six rows and their heading
  QPushButton* ok_ = nullptr;
  ReferenceRow row_;
  QScrollArea* linesArea_ = nullptr;
  std::vector<QLineEdit*> lineFields_;
  ProfileReadings profile_;
};

}  // namespace pellum
