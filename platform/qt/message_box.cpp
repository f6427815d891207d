#include "platform/qt/message_box.h"

#include <QMessageBox>
#include <QString>

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

}  // namespace

void ShowMessageBox(QWidget* owner, std::string_view text, std::string_view caption,
                    MessageKind kind) {
  QMessageBox box(IconOf(kind), FromUtf8(caption), FromUtf8(text), QMessageBox::Ok, owner);
  box.setObjectName(QStringLiteral("messageBox"));
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

}  // namespace pellum
