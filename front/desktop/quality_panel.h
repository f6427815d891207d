#pragma once

#include <QDockWidget>
#include <QPlainTextEdit>
#include <string_view>

namespace pellum {

// Beside the chart: the last calibration in words (model, coefficients with their
// uncertainties, residuals with the largest marked, calibrated range) in a fixed-width
// font, so that the table's columns line up. The user may close it and bring it back
// from the View menu; the chart keeps its own drawing whatever the panel shows.
class QualityPanel : public QDockWidget {
 public:
  explicit QualityPanel(QWidget* parent);

  // The summary text, or the hint shown before the first calibration when it is empty.
  void ShowSummary(std::string_view summary);
  QString Text() const { return text_->toPlainText(); }

 private:
  QPlainTextEdit* text_ = nullptr;
};

}  // namespace pellum
