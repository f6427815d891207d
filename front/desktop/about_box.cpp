#include "front/desktop/about_box.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "front/desktop/program_icon.h"
#include "ui/user_texts.h"
#include "ui/version.h"

namespace pellum {
namespace {

QLabel* CentredLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

}  // namespace

AboutBox::AboutBox(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("aboutBox"));
  setWindowTitle(QStringLiteral("About Pellum"));
  setModal(true);

  // Without a caption bar the window manager draws no border either: the box draws its
  // own frame so that it stands out from the chart behind it.
  auto* frame = new QFrame(this);
  frame->setFrameStyle(QFrame::Box | QFrame::Raised);
  frame->setLineWidth(2);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(frame);

  auto* icon = new QLabel(frame);
  icon->setObjectName(QStringLiteral("aboutIcon"));
  icon->setPixmap(ProgramIcon().pixmap(32, 32));

  ok_ = new QPushButton(QStringLiteral("OK"), frame);
  ok_->setObjectName(QStringLiteral("okButton"));
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &AboutBox::accept);

  auto* grid = new QGridLayout(frame);
  grid->setContentsMargins(12, 12, 12, 12);
  grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop | Qt::AlignLeft);
  grid->addWidget(CentredLabel(QString::fromStdString(std::string(texts::kProgramName) +
                                                      "   Ver. " + std::string(kVersion)),
                               frame),
                  0, 1);
  grid->addWidget(CentredLabel(QString::fromUtf8(texts::kAboutDescription.data()), frame), 1, 1);
  grid->setRowMinimumHeight(2, 16);
  grid->addWidget(CentredLabel(QString::fromUtf8(texts::kAboutCredit.data()), frame), 3, 0, 1, 2);
  grid->addWidget(ok_, 4, 0, 1, 2, Qt::AlignHCenter);
  grid->setColumnMinimumWidth(1, fontMetrics().horizontalAdvance(QLatin1Char('0')) * 30);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  ok_->setFocus();
}

}  // namespace pellum
