#include "front/desktop/profile_readings.h"

#include <QKeySequence>
#include <QString>
#include <algorithm>

#include "app/input_file_step.h"
#include "app/reference_line_set.h"
#include "calib/reference_table.h"
#include "front/desktop/message_box.h"
#include "front/desktop/open_file_dialog.h"
#include "peaks/line_finder.h"
#include "peaks/silicon_finder.h"
#include "peaks/silicon_readings.h"
#include "ui/user_texts.h"

namespace pellum {
namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The finder's messages, each in a box over the dialog.
class BoxMessages : public MessageSink {
 public:
  explicit BoxMessages(QWidget* owner) : owner_(owner) {}
  void ShowMessage(std::string_view text, std::string_view caption, MessageKind kind) override {
    ShowMessageBox(owner_, text, caption, kind);
  }

 private:
  QWidget* owner_;
};

// "Not found in the profile: 4 0 0, 3 3 1." or that all six were found; then each reading
// found with its standard uncertainty, "28.3650 ± 0.0004, 47.2097 ± 0.0006, ..."; and,
// when the profile showed K-alpha2, that the readings are K-alpha1's.
std::string NoteText(const SiliconSearch& search) {
  std::string missing;
  std::string found;
  for (std::size_t k = 0; k < search.reflections.size(); ++k) {
    const ReflectionSearch& r = search.reflections[k];
    if (!r.Found()) {
      missing += (missing.empty() ? "" : ", ") + std::string(ReferenceTable[k].hkl);
    } else {
      found += (found.empty() ? "" : ", ") + ReadingWithUncertaintyText(r);
    }
  }
  const std::string first = missing.empty() ? std::string(texts::kAllFoundNote)
                                            : std::string(texts::kNotFoundNote) + missing + ".";
  const std::string doublets =
      search.kAlpha2 ? "\n" + std::string(texts::kDoubletNote) : std::string();
  return first + "\n" + found + doublets;
}

// "Found in the profile: 12 of 15 lines. Not found: 2 2 2, 3 2 0, 3 2 1." (at most the
// first eight not found, then how many more), the su's place, and the doublets.
std::string OtherNoteText(const LineSearch& search, const LineSet& set) {
  constexpr std::size_t kMostNamed = 8;
  std::string missing;
  std::size_t missingCount = 0;
  for (std::size_t k = 0; k < search.lines.size() && k < set.lines.size(); ++k) {
    if (search.lines[k].Found())
      continue;
    if (++missingCount <= kMostNamed)
      missing += (missing.empty() ? "" : ", ") + LineHklText(set.lines[k]);
  }
  if (missingCount > kMostNamed)
    missing += " and " + std::to_string(missingCount - kMostNamed) + " more";
  std::string note = std::string(texts::kLinesFoundNote) + std::to_string(search.FoundCount()) +
                     " of " + std::to_string(set.lines.size()) + " lines.";
  if (!missing.empty())
    note += " " + std::string(texts::kLinesNotFoundNote) + missing + ".";
  note += "\n" + std::string(texts::kLinesSuNote);
  if (search.kAlpha2)
    note += "\n" + std::string(texts::kDoubletNote);
  return note;
}

}  // namespace

void ProfileReadings::AddTo(QGridLayout& grid, int row, const std::array<QLineEdit*, 6>& fields,
                            QWidget* dialog) {
  fields_ = fields;
  dialog_ = dialog;
  button_ = new QPushButton(Text(texts::kFromProfileButton), dialog);
  button_->setObjectName(QStringLiteral("fromProfileButton"));
  button_->setAutoDefault(false);
  button_->setFocusPolicy(Qt::NoFocus);
  button_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_P));
  note_ = new QLabel(dialog);
  note_->setObjectName(QStringLiteral("profileNote"));
  note_->setTextFormat(Qt::PlainText);
  note_->setWordWrap(true);
  grid.addWidget(note_, row, 0, 1, 2);
  grid.addWidget(button_, row, 2);
  QObject::connect(button_, &QPushButton::clicked, dialog, [this] { Take(); });
}

bool ProfileReadings::AskForProfile(std::string& path) {
  OpenFileSettings settings;
  InitOpenFileSettings(settings);
  settings.title = std::string(texts::kOpenProfileTitle);
  settings.filterIndex = 1;  // the profiles
  settings.defaultExtension = "txt";
  settings.flags = kOpenFileHideReadOnly | kOpenFileMustExist;
  path = path_;
  std::string title;
  return RunOpenFileDialog(dialog_, settings, path, title);
}

void ProfileReadings::Take() {
  if (otherReference_) {
    TakeOtherReference();
    return;
  }
  std::string path;
  if (!AskForProfile(path)) {
    return;
  }
  BoxMessages messages(dialog_);
  SiliconSearch search;
  if (!FindSiliconInProfile(path, {}, search, messages)) {
    return;
  }
  if (search.Refused()) {
    ShowMessageBox(dialog_, path + ": " + RefusalText(search), texts::kNotSiliconLines,
                   MessageKind::Warning);
    return;
  }
  if (search.FoundCount() == 0) {
    ShowMessageBox(dialog_, path, texts::kNoSiliconFound, MessageKind::Warning);
    return;
  }
  const std::array<std::string, 6> readings = ReadingTexts(search);
  for (std::size_t k = 0; k < fields_.size(); ++k) {
    fields_[k]->setText(QString::fromStdString(readings[k]));
  }
  note_->setText(QString::fromUtf8(NoteText(search)));
  path_ = path;
  taken_ = true;
}

void ProfileReadings::TakeOtherReference() {
  std::string path;
  if (!AskForProfile(path)) {
    return;
  }
  const std::string material = otherReference_->material;
  LineSet set;
  std::string error;
  if (!LineSetOf(*otherReference_, set, error)) {
    ShowMessageBox(dialog_, path + ": " + error,
                   std::string(texts::kNotLinesOf) + material + std::string(texts::kMessageEnd),
                   MessageKind::Error);
    return;
  }
  BoxMessages messages(dialog_);
  LineSearch search;
  if (!FindLinesInProfile(path, set, {}, search, messages)) {
    return;
  }
  if (search.Refused()) {
    ShowMessageBox(dialog_, path + ": " + RefusalText(search, set),
                   std::string(texts::kNotLinesOf) + material + std::string(texts::kMessageEnd),
                   MessageKind::Warning);
    return;
  }
  if (search.FoundCount() == 0) {
    ShowMessageBox(dialog_, path,
                   std::string(texts::kNoLineFoundOf) + material + std::string(texts::kMessageEnd),
                   MessageKind::Warning);
    return;
  }
  const std::size_t count = std::min(otherFields_.size(), search.lines.size());
  for (std::size_t k = 0; k < count; ++k) {
    const ReflectionSearch& line = search.lines[k];
    otherFields_[k]->setText(QString::fromStdString(ReadingText(line)));
    otherFields_[k]->setToolTip(line.Found() ? QString::fromUtf8(ReadingWithUncertaintyText(line))
                                             : QString());
  }
  note_->setText(QString::fromUtf8(OtherNoteText(search, set)));
  path_ = path;
  taken_ = true;
}

}  // namespace pellum
