// The finder's figure: a panel per reflection, with the reading or "not found".
#include "tools/silicon_figure_svg.h"

#include <gtest/gtest.h>

#include "peaks/silicon_readings.h"
#include "tests/peaks/synthetic_profile.h"

namespace pellum {
namespace {

TEST(SiliconFigureSvg, ShowsEachReflectionWithItsReadingOrNotFound) {
  testing::SyntheticProfile profile;
  profile.peaks = testing::SiliconPeaks(0.2, 0.0, 3000.0, 0.1);
  profile.peaks[3].height = 0.0;
  const std::vector<ProfilePoint> points = testing::MakeProfile(profile);
  const SiliconSearch search = FindSiliconReflections(points);
  const std::string svg = SiliconFigureSvg(points, search, "film.txt");
  EXPECT_EQ(svg.rfind("<svg ", 0), 0u);
  EXPECT_TRUE(svg.ends_with("</svg>\n"));
  EXPECT_NE(svg.find("Silicon reflections found in film.txt"), std::string::npos);
  EXPECT_NE(svg.find("Si 1 1 1: 28.64"), std::string::npos);
  EXPECT_NE(svg.find("Si 4 0 0: not found"), std::string::npos);
  // The profile and, for each found reflection, its fitted curve.
  std::size_t curves = 0;
  for (std::size_t at = svg.find("<polyline"); at != std::string::npos;
       at = svg.find("<polyline", at + 1)) {
    ++curves;
  }
  EXPECT_EQ(curves, 6u + 5u);
}

// A refused set: its lines dashed, and why in the title.
TEST(SiliconFigureSvg, ShowsARefusedSetWithItsReason) {
  testing::SyntheticProfile profile;
  profile.peaks = testing::FluoritePeaks(1.006, 4000.0, 0.1, 0.0);
  const std::vector<ProfilePoint> points = testing::MakeProfile(profile);
  const SiliconSearch search = FindSiliconReflections(points);
  ASSERT_TRUE(search.Refused());
  const std::string svg = SiliconFigureSvg(points, search, "fluorite.txt");
  EXPECT_NE(svg.find("Refused in fluorite.txt: " + RefusalText(search)), std::string::npos);
  EXPECT_NE(svg.find("refused</text>"), std::string::npos);
  EXPECT_NE(svg.find("stroke-dasharray=\"5,3\""), std::string::npos);
}

}  // namespace
}  // namespace pellum
