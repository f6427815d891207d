#include "front/desktop/question_box.h"

#include <QMessageBox>
#include <QPushButton>

#include "front/desktop/dialog_frame.h"

namespace pellum {
namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

bool AskQuestionBox(QWidget* owner, std::string_view text, std::string_view caption,
                    std::string_view acceptText, std::string_view declineText) {
  QMessageBox box(QMessageBox::Question, FromUtf8(caption), FromUtf8(text), QMessageBox::NoButton,
                  owner);
  box.setObjectName(QStringLiteral("questionBox"));
  box.setWindowFlags(kDialogFrame | Qt::MSWindowsFixedSizeDialogHint);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  QPushButton* accept = box.addButton(FromUtf8(acceptText), QMessageBox::AcceptRole);
  accept->setObjectName(QStringLiteral("acceptButton"));
  QPushButton* decline = box.addButton(FromUtf8(declineText), QMessageBox::RejectRole);
  decline->setObjectName(QStringLiteral("declineButton"));
  box.setDefaultButton(decline);
  box.setEscapeButton(decline);
  box.exec();
  return box.clickedButton() == accept;
}

}  // namespace pellum
