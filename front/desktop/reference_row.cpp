#include "front/desktop/reference_row.h"

#include <QSignalBlocker>
#include <array>
#include <string_view>

#include "calib/fixed_notation.h"
#include "refs/radiation.h"
#include "refs/standard.h"

namespace pellum {
namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The radiations as a user looks for them: copper, the default, first.
constexpr std::array<std::string_view, 6> kRadiationOrder = {"cu", "co", "fe", "cr", "mo", "ag"};

QLabel* BuddyLabel(const QString& text, QWidget* buddy, QWidget* dialog) {
  auto* label = new QLabel(text, dialog);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

QFormLayout* ReferenceRow::Make(QWidget* dialog, const std::string& standard,
                                const std::string& radiation, std::function<void()> changed) {
  standard_ = new QComboBox(dialog);
  standard_->setObjectName(QStringLiteral("standardBox"));
  standard_->addItem(QStringLiteral("si: built-in silicon table"), Text(kBuiltInTableName));
  for (const pellum::Standard& s : BuiltInStandards())
    standard_->addItem(Text(s.name) + QStringLiteral(": ") + Text(s.material), Text(s.name));
  radiation_ = new QComboBox(dialog);
  radiation_->setObjectName(QStringLiteral("radiationBox"));
  for (std::string_view name : kRadiationOrder)
    radiation_->addItem(Text(FindRadiation(name)->line), Text(name));
  wavelength_ = new QLabel(dialog);
  wavelength_->setObjectName(QStringLiteral("wavelengthText"));
  wavelength_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  for (QComboBox* box : {standard_, radiation_})
    box->setFocusPolicy(Qt::ClickFocus);

  const int standardIndex = standard_->findData(QString::fromStdString(standard));
  standard_->setCurrentIndex(standardIndex < 0 ? 0 : standardIndex);
  const int radiationIndex = radiation_->findData(QString::fromStdString(radiation));
  radiation_->setCurrentIndex(radiationIndex < 0 ? 0 : radiationIndex);
  Follow();
  changed_ = std::move(changed);
  QObject::connect(standard_, &QComboBox::currentIndexChanged, dialog, [this] {
    Follow();
    if (changed_)
      changed_();
  });
  QObject::connect(radiation_, &QComboBox::currentIndexChanged, dialog, [this] {
    Follow();
    if (changed_)
      changed_();
  });

  // Two short rows rather than one long one: the dialog stays as narrow as its readings.
  auto* tube = new QHBoxLayout;
  tube->addWidget(radiation_);
  tube->addSpacing(12);
  tube->addWidget(new QLabel(QStringLiteral("Wavelength:"), dialog));
  tube->addWidget(wavelength_);
  tube->addStretch();
  auto* row = new QFormLayout;
  row->addRow(BuddyLabel(QStringLiteral("&Standard:"), standard_, dialog), standard_);
  row->addRow(BuddyLabel(QStringLiteral("&Radiation:"), radiation_, dialog), tube);
  return row;
}

std::string ReferenceRow::Standard() const {
  return standard_->currentData().toString().toStdString();
}

std::string ReferenceRow::Radiation() const {
  return radiation_->currentData().toString().toStdString();
}

void ReferenceRow::Follow() {
  const bool table = Standard() == kBuiltInTableName;
  if (table) {
    const QSignalBlocker quiet(radiation_);
    radiation_->setCurrentIndex(radiation_->findData(Text(kDefaultRadiation)));
  }
  radiation_->setEnabled(!table);
  radiation_->setToolTip(
      table ? QStringLiteral("The built-in silicon table is for Cu K-alpha1: choose a certified "
                             "silicon standard for another tube.")
            : QString());
  std::string text;
  AppendFixed(text, FindRadiation(Radiation())->wavelength, 6);
  wavelength_->setText(QString::fromStdString(text) + QStringLiteral(" \u00C5"));
}

}  // namespace pellum
