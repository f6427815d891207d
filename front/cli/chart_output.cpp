#include "front/cli/chart_output.h"

#ifdef PELLUM_CHART_MODULE_RELATIVE
#include <dlfcn.h>

#include <filesystem>
#endif

#include "chart/calibration_chart.h"

namespace pellum::cli {
namespace {

// Draws nothing: the paint is run only for what it writes to the trace.
class NullCanvas : public Canvas {
 public:
  void Clear() override {}
  void SetIsotropicMapping(int, int, int, int, int, int) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void TextOut(int, int, std::string_view) override {}
  void Ellipse(int, int, int, int) override {}
  int TextWidth(std::string_view) const override { return 0; }
  int TextHeight() const override { return 0; }
  void SetZoom(double) override {}
};

#ifdef PELLUM_CHART_MODULE_RELATIVE
// The module lies at a fixed step from the program's own file (links followed): beside bin/
// in lib/pellum/ when installed, and at the same step in the build tree. So the program
// loads only the module that came with it, wherever it was built.
std::filesystem::path ModulePath(std::string& error) {
  std::error_code failure;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failure);
  if (failure) {
    error = "cannot find the chart module: where this program lies is unknown (" +
            failure.message() + ")";
    return {};
  }
  return (self.parent_path() / PELLUM_CHART_MODULE_RELATIVE).lexically_normal();
}

RenderChartFunction LoadRenderer(std::string& error) {
  const std::filesystem::path module = ModulePath(error);
  if (module.empty())
    return nullptr;
  if (!std::filesystem::exists(module)) {
    error = "the chart module was not found: " + module.string();
    return nullptr;
  }
  // The module stays loaded until the program ends: Qt's objects live that long.
  void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    error = std::string("cannot load the chart module: ") + dlerror();
    return nullptr;
  }
  if (void* symbol = dlsym(handle, kRenderChartSymbol))
    return reinterpret_cast<RenderChartFunction>(symbol);
  error = "the chart module " + module.string() + " has no " + kRenderChartSymbol;
  return nullptr;
}
#endif

}  // namespace

bool ChartDrawingBuilt() {
#ifdef PELLUM_CHART_MODULE_RELATIVE
  return true;
#else
  return false;
#endif
}

bool RenderChartFile(const ChartRequest& request, std::string& error) {
#ifdef PELLUM_CHART_MODULE_RELATIVE
  const RenderChartFunction render = LoadRenderer(error);
  return render != nullptr && render(request, error);
#else
  // The run's plan refuses --chart first; this is only the last word if it is reached.
  (void)request;
  error = kNoChartDrawing;
  return false;
#endif
}

void TraceChart(int width, int height, std::span<const CalibrationPoint> points,
                const CalibrationCoefficients& coefficients, std::span<const ReferenceMark> marks,
                std::ostream& trace) {
  NullCanvas canvas;
  // The reference's name is no label: it writes no trace line, so the trace leaves it out.
  PaintCalibrationChart(canvas, width, height, points, coefficients, marks, {}, trace);
}

}  // namespace pellum::cli
