#include "front/desktop/profile_readings.h"

#include <QKeySequence>
#include <QString>

#include "app/input_file_step.h"
#include "calib/reference_table.h"
#include "front/desktop/message_box.h"
#include "front/desktop/open_file_dialog.h"
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

void ProfileReadings::Take() {
  if (otherReference_) {
    TakeOtherReference();
    return;
  }
  OpenFileSettings settings;
  InitOpenFileSettings(settings);
  settings.title = std::string(texts::kOpenProfileTitle);
  settings.filterIndex = 1;  // the profiles
  settings.defaultExtension = "txt";
  settings.flags = kOpenFileHideReadOnly | kOpenFileMustExist;
  std::string path = path_;
  std::string title;
  if (!RunOpenFileDialog(dialog_, settings, path, title)) {
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
  // The finder knows silicon's six lines only, for now: the fields stay as typed.
  ShowMessageBox(dialog_, texts::kReferenceFinderMissing, texts::kReferenceFinderCaption,
                 MessageKind::Information);
}

}  // namespace pellum
