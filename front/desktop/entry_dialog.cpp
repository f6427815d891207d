#include "front/desktop/entry_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QString>

#include "calib/reference_table.h"
#include "front/desktop/dialog_frame.h"
#include "front/desktop/reading_field.h"
#include "ui/user_texts.h"

namespace pellum {
namespace {

QLabel* Label(std::string_view text, QWidget* parent) {
  auto* label =
      new QLabel(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

}  // namespace

EntryDialog::EntryDialog(EntryTexts& entries, QWidget* owner)
    : QDialog(owner, kDialogFrame), entries_(entries) {
  setObjectName(QStringLiteral("entryDialog"));
  setWindowTitle(QString::fromUtf8(texts::kEntryDialogTitle.data(),
                                   static_cast<qsizetype>(texts::kEntryDialogTitle.size())));
  setModal(true);

  // A grid in the dialog's own font keeps the three columns lined up at any font size.
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(12);
  grid->addWidget(Label("h k l", this), 0, 0);
  grid->addWidget(Label("Actual 2 theta", this), 0, 1);
  grid->addWidget(Label("Experimental 2 theta*", this), 0, 2);

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName(QStringLiteral("okButton"));
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &EntryDialog::accept);

  for (std::size_t row = 0; row < EntryTexts::kSlotCount; ++row) {
    const int gridRow = static_cast<int>(row) + 1;
    grid->addWidget(Label(ReferenceTable[row].hkl, this), gridRow, 0);
    grid->addWidget(Label(ReferenceTable[row].displayText, this), gridRow, 1);
    auto* field = new ReadingField(this);
    field->setObjectName(QStringLiteral("entry%1").arg(row));
    field->setMaxLength(static_cast<int>(EntryTexts::kMaxSlotLength));
    field->setText(QString::fromStdString(entries.Slot(row)));
    field->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 14);
    grid->addWidget(field, gridRow, 2);
    fields_[row] = field;
  }
  grid->addWidget(Label("* If not available, enter negative number.", this), 7, 0, 1, 3);
  profile_.AddTo(*grid, 8, fields_, this);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  setTabOrder(ok_, fields_[0]);
  for (std::size_t row = 1; row < EntryTexts::kSlotCount; ++row) {
    setTabOrder(fields_[row - 1], fields_[row]);
  }
  ok_->setFocus();
}

void EntryDialog::accept() {
  for (std::size_t row = 0; row < EntryTexts::kSlotCount; ++row) {
    entries_.SetSlot(row, fields_[row]->text().toStdString());
  }
  QDialog::accept();
}

}  // namespace pellum
