#pragma once

#include <array>
#include <string_view>

namespace pellum {

// A tube's K-alpha1 line: the radiation a Guinier camera's monochromator passes.
struct Radiation {
  std::string_view name;  // as the command line takes it: "cr"
  std::string_view line;  // as a person writes it: "Cr K-alpha1"
  double wavelength;      // angstrom
  double kAlpha2;         // the tube's K-alpha2 beside it, angstrom: a profile without a
                          // monochromator shows each line twice
};

// K-alpha1 and K-alpha2 wavelengths in angstrom, from International Tables for
// Crystallography, Volume C (2004), Table 4.2.2.1. Copper's K-alpha1 is the value the
// standards' certificates compute their line positions with; its K-alpha2 is the one the
// profile finder has always fitted copper doublets with. In order of wavelength, longest first.
inline constexpr std::array<Radiation, 6> kRadiations = {{
    {"cr", "Cr K-alpha1", 2.2897260, 2.2936510},
    {"fe", "Fe K-alpha1", 1.9360410, 1.9399730},
    {"co", "Co K-alpha1", 1.7889960, 1.7928350},
    {"cu", "Cu K-alpha1", 1.5405929, 1.5444274},
    {"mo", "Mo K-alpha1", 0.7093171, 0.7136043},
    {"ag", "Ag K-alpha1", 0.5594218, 0.5638130},
}};

// The built-in reference table's radiation and the default of every reference.
inline constexpr std::string_view kDefaultRadiation = "cu";

// The radiation of that name, or nullptr:
//   FindRadiation("cr")->wavelength == 2.2897260    FindRadiation("w") == nullptr
const Radiation* FindRadiation(std::string_view name);

}  // namespace pellum
