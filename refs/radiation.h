#pragma once

#include <array>
#include <string_view>

namespace pellum {

// A tube's K-alpha1 line: the radiation a Guinier camera's monochromator passes.
struct Radiation {
  std::string_view name;  // as the command line takes it: "cr"
  std::string_view line;  // as a person writes it: "Cr K-alpha1"
  double wavelength;      // angstrom
};

// K-alpha1 wavelengths in angstrom, from International Tables for Crystallography, Volume C
// (2004), Table 4.2.2.1. Copper's is the value the standards' certificates compute their line
// positions with. In order of wavelength, longest first.
inline constexpr std::array<Radiation, 6> kRadiations = {{
    {"cr", "Cr K-alpha1", 2.2897260},
    {"fe", "Fe K-alpha1", 1.9360410},
    {"co", "Co K-alpha1", 1.7889960},
    {"cu", "Cu K-alpha1", 1.5405929},
    {"mo", "Mo K-alpha1", 0.7093171},
    {"ag", "Ag K-alpha1", 0.5594218},
}};

// The built-in reference table's radiation and the default of every reference.
inline constexpr std::string_view kDefaultRadiation = "cu";

// The radiation of that name, or nullptr:
//   FindRadiation("cr")->wavelength == 2.2897260    FindRadiation("w") == nullptr
const Radiation* FindRadiation(std::string_view name);

}  // namespace pellum
