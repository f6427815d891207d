#include "front/desktop/entry_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QString>
#include <QStyle>
#include <algorithm>

#include "calib/fixed_notation.h"
#include "calib/reference_table.h"
#include "front/desktop/dialog_frame.h"
#include "front/desktop/reading_field.h"
#include "refs/reference_choice.h"
#include "refs/reference_readings.h"
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

// A reading's field, as wide as fourteen digits and holding at most what a slot keeps.
ReadingField* MakeField(const QString& name, const std::string& text, QWidget* parent) {
  auto* field = new ReadingField(parent);
  field->setObjectName(name);
  field->setMaxLength(static_cast<int>(EntryTexts::kMaxSlotLength));
  field->setText(QString::fromStdString(text));
  field->setMinimumWidth(parent->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 14);
  return field;
}

// The list shows this many lines before it scrolls: a film below 100 degrees shows up to
// twenty of corundum's or LaB6's, more than a screen should hold at once.
constexpr int kVisibleLines = 10;

}  // namespace

EntryDialog::EntryDialog(EntryTexts& entries, QWidget* owner)
    : QDialog(owner, kDialogFrame), entries_(entries) {
  reference_ = &ownReference_;
  Build();
}

EntryDialog::EntryDialog(EntryTexts& entries, ReferenceEntries& reference, QWidget* owner)
    : QDialog(owner, kDialogFrame), entries_(entries) {
  reference_ = &reference;
  Build();
}

void EntryDialog::Build() {
  working_ = *reference_;
  setObjectName(QStringLiteral("entryDialog"));
  setWindowTitle(QString::fromUtf8(texts::kEntryDialogTitle.data(),
                                   static_cast<qsizetype>(texts::kEntryDialogTitle.size())));
  setModal(true);

  // A grid in the dialog's own font keeps the three columns lined up at any font size.
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(12);
  tableWidgets_ = {Label("h k l", this), Label("Actual 2 theta", this),
                   Label("Experimental 2 theta*", this)};
  for (int column = 0; column < 3; ++column)
    grid->addWidget(tableWidgets_[static_cast<std::size_t>(column)], 0, column);

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName(QStringLiteral("okButton"));
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &EntryDialog::accept);

  for (std::size_t row = 0; row < EntryTexts::kSlotCount; ++row) {
    const int gridRow = static_cast<int>(row) + 1;
    QLabel* hkl = Label(ReferenceTable[row].hkl, this);
    QLabel* actual = Label(ReferenceTable[row].displayText, this);
    ReadingField* field = MakeField(QStringLiteral("entry%1").arg(row), entries_.Slot(row), this);
    grid->addWidget(hkl, gridRow, 0);
    grid->addWidget(actual, gridRow, 1);
    grid->addWidget(field, gridRow, 2);
    fields_[row] = field;
    tableWidgets_.insert(tableWidgets_.end(), {hkl, actual, field});
  }
  grid->addWidget(Label("* If not available, enter negative number.", this), 7, 0, 1, 3);
  profile_.AddTo(*grid, 8, fields_, this);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addStretch();

  QFormLayout* choice =
      row_.Make(this, working_.standard, working_.radiation, [this] { ShowReference(); });
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choice);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  // Made after the dialog's own grid, which stays the first a search of the dialog finds.
  linesArea_ = new QScrollArea(this);
  linesArea_->setObjectName(QStringLiteral("linesArea"));
  linesArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  linesArea_->hide();
  layout->insertWidget(1, linesArea_);

  setTabOrder(ok_, fields_[0]);
  for (std::size_t row = 1; row < EntryTexts::kSlotCount; ++row) {
    setTabOrder(fields_[row - 1], fields_[row]);
  }
  ShowReference();
  ok_->setFocus();
}

void EntryDialog::KeepLineReadings() {
  if (lineFields_.empty())
    return;
  std::vector<std::string>& texts = working_.ReadingsOf(lineFields_.size());
  for (std::size_t i = 0; i < lineFields_.size(); ++i)
    texts[i] = lineFields_[i]->text().toStdString();
}

void EntryDialog::ShowReference() {
  KeepLineReadings();
  lineFields_.clear();
  working_.standard = row_.Standard();
  working_.radiation = row_.Radiation();
  const bool table = working_.IsDefault();
  for (QWidget* widget : tableWidgets_)
    widget->setVisible(table);
  // What From Profile found was of the lines shown until now.
  profile_.Note()->clear();
  profile_.SetOtherReference(std::nullopt, {});
  pellum::Reference reference;
  std::string error;
  if (table || !ChooseReference(RequestOf(working_), reference, error)) {
    linesArea_->hide();
    linesArea_->setWidget(new QWidget);
    return;
  }

  auto* content = new QWidget;
  auto* grid = new QGridLayout(content);
  grid->setHorizontalSpacing(12);
  grid->addWidget(Label("h k l", content), 0, 0);
  grid->addWidget(Label("Actual 2 theta", content), 0, 1);
  grid->addWidget(Label("Experimental 2 theta*", content), 0, 2);
  const std::vector<std::string>& texts = working_.ReadingsOf(reference.lines.size());
  for (std::size_t i = 0; i < reference.lines.size(); ++i) {
    const int gridRow = static_cast<int>(i) + 1;
    std::string actual;
    AppendFixed(actual, reference.lines[i].twoTheta, 3);
    grid->addWidget(Label(HklText(reference.lines[i]), content), gridRow, 0);
    grid->addWidget(Label(actual, content), gridRow, 1);
    ReadingField* field = MakeField(QStringLiteral("line%1").arg(i), texts[i], content);
    grid->addWidget(field, gridRow, 2);
    lineFields_.push_back(field);
  }
  linesArea_->setWidget(content);
  content->adjustSize();

  // As tall as the lines, up to kVisibleLines of them; then the list scrolls.
  const QSize whole = content->sizeHint();
  const int rows = static_cast<int>(reference.lines.size()) + 1;
  const int shownRows = std::min(rows, kVisibleLines + 1);
  const int frame = 2 * linesArea_->frameWidth();
  linesArea_->setFixedHeight(whole.height() * shownRows / rows + frame);
  linesArea_->setFixedWidth(
      whole.width() + frame +
      (rows > shownRows ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0));
  linesArea_->show();

  profile_.SetOtherReference(std::move(reference), lineFields_);
  setTabOrder(ok_, lineFields_.front());
  for (std::size_t i = 1; i < lineFields_.size(); ++i)
    setTabOrder(lineFields_[i - 1], lineFields_[i]);
}

void EntryDialog::accept() {
  for (std::size_t row = 0; row < EntryTexts::kSlotCount; ++row) {
    entries_.SetSlot(row, fields_[row]->text().toStdString());
  }
  KeepLineReadings();
  *reference_ = working_;
  QDialog::accept();
}

}  // namespace pellum
