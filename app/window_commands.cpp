#include "app/window_commands.h"

#include <span>

#include "app/calibration_command.h"
#include "app/calibration_record_commands.h"
#include "app/cif_export_command.h"
#include "app/input_file_step.h"
#include "app/model_setting.h"
#include "app/reference_setting.h"
#include "app/remembered_folder.h"
#include "app/save_chart_command.h"
#include "chart/calibration_chart.h"
#include "chart/correction_chart.h"
#include "refs/reference_readings.h"
#include "ui/user_texts.h"

namespace pellum {

std::string MainTitleText(std::string_view title) {
  std::string text(texts::kProgramName);
  text += " - ";
  text += title.empty() ? texts::kUntitled : title;
  return text;
}

void SetMainTitle(Platform& platform, std::string_view title) {
  platform.SetWindowTitle(MainTitleText(title));
}

namespace {

// The rule applies from the next calibration; the one shown keeps the rule that chose it.
void ChooseModel(AppState& state, Platform& platform, ModelRule rule) {
  if (rule == state.modelRule)
    return;
  state.modelRule = rule;
  if (!WriteModelSetting(state.modelSettingPath, rule) && !state.modelSettingFailed) {
    state.modelSettingFailed = true;
    platform.ShowMessage(state.modelSettingPath, texts::kCannotKeepModel, MessageKind::Warning);
  }
}

}  // namespace

void HandleCreate(AppState& state, Platform& platform) {
  InitOpenFileSettings(state.openFileSettings);
  state.openFileSettings.initialFolder = ReadRememberedFolder(state.folderSettingPath);
  state.modelRule = ReadModelSetting(state.modelSettingPath);
  ReadReferenceSetting(state.referenceSettingPath, state.reference);
  SetMainTitle(platform, state.inputTitle);
}

void HandleResize(AppState& state, int clientWidth, int clientHeight) {
  state.clientWidth = clientWidth;
  state.clientHeight = clientHeight;
}

void HandlePaint(const AppState& state, Canvas& canvas, std::ostream& trace) {
  const std::vector<std::string> title = ReferenceTitleLines(state.calibrationReference);
  if (state.chartView == ChartView::Correction) {
    PaintCorrectionChart(canvas, state.clientWidth, state.clientHeight,
                         {state.calibrated ? std::span<const CalibrationPoint>(state.fittedPoints)
                                           : std::span<const CalibrationPoint>(),
                          state.coefficients, state.calibrated ? &state.quality : nullptr,
                          state.rowsOutsideRange, state.hklTexts, title});
    return;
  }
  const std::span<const CalibrationPoint> points(state.points.data(),
                                                 static_cast<std::size_t>(state.pointCount));
  if (state.referenceMarks.empty()) {
    PaintCalibrationChart(canvas, state.clientWidth, state.clientHeight, points, state.coefficients,
                          trace);
    return;
  }
  // Another reference's lines label the axis, as pellum-cli draws them.
  PaintCalibrationChart(canvas, state.clientWidth, state.clientHeight, points, state.coefficients,
                        state.referenceMarks, title, trace);
}

void HandleCommand(AppState& state, Platform& platform, MenuCommand command,
                   std::ostream& console) {
  switch (command) {
    case MenuCommand::About:
      platform.ShowAboutBox();
      break;
    case MenuCommand::Open:
      // Export CIF holds what this Open converts, and nothing from an earlier one.
      state.convertedPath.clear();
      state.convertedOutputPath.clear();
      if (RunCalibrationCommand(state, platform, console) >= 1) {
        // Cancelled, converted or failed: the title follows the input title as it now is,
        // so a cancelled dialog shows the previous file again.
        RunInputFileStep(state, platform);
        SetMainTitle(platform, state.inputTitle);
      }
      break;
    case MenuCommand::SaveCalibration:
      SaveCalibration(state, platform);
      break;
    case MenuCommand::CopyCalibration:
      CopyCalibration(state, platform);
      break;
    case MenuCommand::SaveChart:
      SaveChart(state, platform);
      break;
    case MenuCommand::ExportCif:
      ExportCif(state, platform);
      break;
    case MenuCommand::Exit:
      platform.CloseMainWindow();
      break;
    case MenuCommand::ShowCalibrationChart:
    case MenuCommand::ShowCorrectionChart:
      state.chartView = command == MenuCommand::ShowCorrectionChart ? ChartView::Correction
                                                                    : ChartView::Calibration;
      platform.InvalidateChart();
      break;
    case MenuCommand::ModelChiSquare:
    case MenuCommand::ModelLine:
    case MenuCommand::ModelQuadratic:
    case MenuCommand::ModelSignificant:
      ChooseModel(state, platform, ModelRuleOf(command));
      break;
    default:
      break;
  }
}

MenuCommand ModelCommandOf(ModelRule rule) {
  switch (rule) {
    case ModelRule::Line:
      return MenuCommand::ModelLine;
    case ModelRule::Quadratic:
      return MenuCommand::ModelQuadratic;
    case ModelRule::Significant:
      return MenuCommand::ModelSignificant;
    case ModelRule::ChiSquare:
      break;
  }
  return MenuCommand::ModelChiSquare;
}

ModelRule ModelRuleOf(MenuCommand command) {
  switch (command) {
    case MenuCommand::ModelLine:
      return ModelRule::Line;
    case MenuCommand::ModelQuadratic:
      return ModelRule::Quadratic;
    case MenuCommand::ModelSignificant:
      return ModelRule::Significant;
    default:
      return ModelRule::ChiSquare;
  }
}

void HandleDestroy(AppState& state) {
  state.points.clear();
  state.points.shrink_to_fit();
  state.pointCount = 0;
}

}  // namespace pellum
