#include "front/cli/chart_output.h"

#ifdef PELLUM_CHART_MODULE_BUILT
#include <dlfcn.h>

#include <filesystem>
#include <vector>
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

#ifdef PELLUM_CHART_MODULE_BUILT
// Where the build puts the module and where the install rules put it, both known when
// pellum-cli is built, so nothing asks the system where the program file lies. The build's
// own module comes first: it is the one built with this program, and an installed program
// whose build folder is gone finds the installed one.
std::vector<std::filesystem::path> ModuleCandidates() {
  return {std::filesystem::path(PELLUM_CHART_MODULE_BUILT),
          std::filesystem::path(PELLUM_CHART_MODULE_INSTALLED)};
}

RenderChartFunction LoadRenderer(std::string& error) {
  std::string tried;
  for (const std::filesystem::path& candidate : ModuleCandidates()) {
    if (!std::filesystem::exists(candidate)) {
      tried.append(" ").append(candidate.string());
      continue;
    }
    // The module stays loaded until the program ends: Qt's objects live that long.
    void* module = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
      error = std::string("cannot load the chart module: ") + dlerror();
      return nullptr;
    }
    if (void* symbol = dlsym(module, kRenderChartSymbol)) {
      return reinterpret_cast<RenderChartFunction>(symbol);
    }
    error = "the chart module " + candidate.string() + " has no " + kRenderChartSymbol;
    return nullptr;
  }
  error = "the chart module was not found:";
  error.append(tried);
  return nullptr;
}
#endif

}  // namespace

bool ChartDrawingBuilt() {
#ifdef PELLUM_CHART_MODULE_BUILT
  return true;
#else
  return false;
#endif
}

bool RenderChartFile(const ChartRequest& request, std::string& error) {
#ifdef PELLUM_CHART_MODULE_BUILT
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
                const CalibrationCoefficients& coefficients, std::ostream& trace) {
  NullCanvas canvas;
  PaintCalibrationChart(canvas, width, height, points, coefficients, trace);
}

}  // namespace pellum::cli
