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

// "Not found in the profile: 4 0 0, 3 3 1." or that all six were found.
std::string NoteText(const SiliconSearch& search) {
  std::string missing;
  for (std::size_t k = 0; k < search.reflections.size(); ++k) {
    if (!search.reflections[k].Found()) {
      missing += (missing.empty() ? "" : ", ") + std::string(ReferenceTable[k].hkl);
    }
  }
  if (missing.empty()) {
    return std::string(texts::kAllFoundNote);
  }
  return std::string(texts::kNotFoundNote) + missing + ".";
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
  if (search.FoundCount() == 0) {
    ShowMessageBox(dialog_, path, texts::kNoSiliconFound, MessageKind::Warning);
    return;
  }
  const std::array<std::string, 6> readings = ReadingTexts(search);
  for (std::size_t k = 0; k < fields_.size(); ++k) {
    fields_[k]->setText(QString::fromStdString(readings[k]));
  }
  note_->setText(QString::fromStdString(NoteText(search)));
  path_ = path;
  taken_ = true;
}

}  // namespace pellum
