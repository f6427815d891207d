#include "front/desktop/message_box.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QString>

#include "front/desktop/dialog_frame.h"

namespace pellum {
namespace {

QMessageBox::Icon IconOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Error:
      return QMessageBox::Critical;
    case MessageKind::Warning:
      return QMessageBox::Warning;
    case MessageKind::Information:
      return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A file's message names the failure in the caption and the file in the text: a box sized to
// a short path alone would cut "Invalid file format!" down to "Invalid ...ormat!". The
// allowance covers the caption bar's icon and buttons.
void WidenForCaption(QMessageBox& box) {
  constexpr int kCaptionBarAllowance = 120;
  const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) + kCaptionBarAllowance;
  auto* grid = dynamic_cast<QGridLayout*>(box.layout());
  if (grid != nullptr) {
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
}

}  // namespace

void ShowMessageBox(QWidget* owner, std::string_view text, std::string_view caption,
                    MessageKind kind) {
  QMessageBox box(IconOf(kind), FromUtf8(caption), FromUtf8(text), QMessageBox::Ok, owner);
  box.setObjectName(QStringLiteral("messageBox"));
  box.setWindowFlags(kDialogFrame | Qt::MSWindowsFixedSizeDialogHint);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  WidenForCaption(box);
  box.exec();
}

}  // namespace pellum
