// The silicon finder on a film's profile of 10,000 points: 15 to 95 degrees at 0.008, six
// silicon reflections of silicon's own intensities and a few sample peaks, Poisson noise.
// The goal: under 20 ms for the search, reading included.
#include <benchmark/benchmark.h>

#include <sstream>

#include "peaks/silicon_finder.h"
#include "tests/peaks/synthetic_profile.h"

namespace pellum {
namespace {

testing::SyntheticProfile TenThousandPoints() {
  testing::SyntheticProfile p;
  p.start = 15.0;
  p.step = 0.008;
  p.end = p.start + 9999.5 * p.step;
  p.background = 120.0;
  p.slope = -1.0;
  p.peaks = testing::SiliconPeaks(0.23, -0.002, 1.0, 0.1);
  const double heights[] = {20000, 11000, 6000, 1400, 2000, 2400};
  for (std::size_t k = 0; k < 6; ++k) {
    p.peaks[k].height = heights[k];
  }
  for (double at : {23.1, 29.4, 36.0, 39.4, 43.2, 47.5, 48.5, 57.4, 60.7, 64.7}) {
    p.peaks.push_back({at, 5000.0, 0.11});
  }
  return p;
}

void FindInPoints(benchmark::State& state) {
  const std::vector<ProfilePoint> points = testing::MakeProfile(TenThousandPoints());
  if (FindSiliconReflections(points).FoundCount() != 6) {
    state.SkipWithError("the six reflections are not all found");
  }
  for (auto _ : state) {
    const SiliconSearch search = FindSiliconReflections(points);
    benchmark::DoNotOptimize(search.reflections[0].position);
  }
  state.counters["points"] = static_cast<double>(points.size());
}
BENCHMARK(FindInPoints)->Unit(benchmark::kMillisecond);

// As pellum-cli --find-silicon does it: the profile's text read, then searched.
void ReadAndFind(benchmark::State& state) {
  const std::string text = testing::ProfileText(testing::MakeProfile(TenThousandPoints()));
  const std::vector<TwoThetaSpan> reach = SiliconReach();
  for (auto _ : state) {
    std::istringstream in(text);
    const ProfileReading reading = ReadProfilePoints(in, reach);
    const SiliconSearch search = FindSiliconReflections(reading.points);
    benchmark::DoNotOptimize(search.reflections[0].position);
  }
}
BENCHMARK(ReadAndFind)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pellum
