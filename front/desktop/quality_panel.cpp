#include "front/desktop/quality_panel.h"

#include <QFontDatabase>
#include <QFontMetrics>

namespace pellum {

QualityPanel::QualityPanel(QWidget* parent) : QDockWidget(QStringLiteral("Calibration"), parent) {
  setObjectName(QStringLiteral("qualityPanel"));
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("qualityText"));
  text_->setReadOnly(true);
  // Long lines wrap: nothing of the panel hides behind a scroll bar at the side.
  text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  // Wide enough for the residual table's 46 columns, the margins and a scroll bar.
  text_->setMinimumWidth(QFontMetrics(text_->font()).horizontalAdvance(QLatin1Char('0')) * 50);
  setWidget(text_);
  ShowSummary({});
}

void QualityPanel::ShowSummary(std::string_view summary) {
  text_->setPlainText(
      summary.empty() ? QStringLiteral("No calibration yet: File > Open asks for the readings.")
                      : QString::fromUtf8(summary.data(), static_cast<qsizetype>(summary.size())));
}

}  // namespace pellum
