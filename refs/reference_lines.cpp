#include "refs/reference_lines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <map>
#include <numbers>

#include <gemmi/it92.hpp>
#include <gemmi/symmetry.hpp>

namespace pellum {
namespace {

using Miller = gemmi::Op::Miller;

// The film's range: a line is one below this two-theta.
constexpr double kHighestTwoTheta = 100.0;

constexpr double DegreesOf(double radians) {
  return radians * 180.0 / std::numbers::pi;
}

// asin to the last bit where the C library allows: the lines' two-theta go into the
// calibration, whose outputs are compared byte for byte between systems. Linux's C library
// gives the correctly rounded value; the Windows C runtime's is off in the last bit now and
// then, while its long double asinl, rounded once to double, agrees all but very rarely.
double AccurateAsin(double x) {
#ifdef _WIN32
  return static_cast<double>(std::asin(static_cast<long double>(x)));
#else
  return std::asin(x);
#endif
}

// Two-theta by Bragg's law, lambda = 2 d sin(theta), in degrees.
double BraggTwoTheta(double wavelength, double d) {
  return 2.0 * DegreesOf(AccurateAsin(wavelength / (2.0 * d)));
}

// 1/d^2 of the two cell shapes the standards have, written out: only arithmetic and no
// trigonometry of the cell's angles, so that every system computes the same bits.
double InverseSpacingSquared(const Miller& hkl, double a, double c, bool hexagonal) {
  const double h = hkl[0], k = hkl[1], l = hkl[2];
  if (!hexagonal)
    return (h * h + k * k + l * l) / (a * a);
  return 4.0 / 3.0 * (h * h + h * k + k * k) / (a * a) + l * l / (c * c);
}

// (1 + cos^2 2theta) / (sin^2 theta cos theta): unpolarized radiation, powder geometry.
double LorentzPolarization(double twoThetaDegrees) {
  const double theta = twoThetaDegrees * std::numbers::pi / 360.0;
  const double cos2t = std::cos(2.0 * theta);
  const double s = std::sin(theta);
  return (1.0 + cos2t * cos2t) / (s * s * std::cos(theta));
}

// Non-negative indices first, then the larger in (h, k, l) order: how a family is shown.
bool ShownBefore(const Miller& a, const Miller& b) {
  auto nonNegative = [](const Miller& m) { return (m[0] >= 0) + (m[1] >= 0) + (m[2] >= 0); };
  if (nonNegative(a) != nonNegative(b))
    return nonNegative(a) > nonNegative(b);
  return a > b;
}

// The standard's crystal as the lines need it: which reflections its space group allows,
// every atom of the cell (the asymmetric unit spread by the group's operations), and the
// structure factor of a reflection.
class Crystal {
 public:
  bool Build(const Standard& standard, std::string& error) {
    const gemmi::SpaceGroup* group =
        gemmi::find_spacegroup_by_name(std::string(standard.spaceGroup));
    if (group == nullptr) {
      error = "unknown space group " + std::string(standard.spaceGroup);
      return false;
    }
    ops_ = group->operations();
    for (const StandardAtom& atom : standard.atoms) {
      const gemmi::El element = gemmi::find_element(std::string(atom.element).c_str());
      if (element == gemmi::El::X || !gemmi::IT92<double>::has(element)) {
        error = "no X-ray form factor for " + std::string(atom.element);
        return false;
      }
      AddSites(gemmi::IT92<double>::get(element), atom);
    }
    return true;
  }

  bool Allowed(const Miller& hkl) const { return !ops_.is_systematically_absent(hkl); }

  // |F|^2 at (sin theta / lambda)^2 = stol2; 0 where the sites' waves cancel exactly, as
  // silicon's do at 2 2 2 (within rounding, far below any real reflection).
  double Intensity(const Miller& hkl, double stol2) const {
    double re = 0.0, im = 0.0, scale = 0.0;
    for (const Site& site : sites_) {
      const double f = site.factor->calculate_sf(stol2);
      const double amplitude = f * std::exp(-site.b * stol2);
      const double phase = 2.0 * std::numbers::pi *
                           (hkl[0] * site.xyz[0] + hkl[1] * site.xyz[1] + hkl[2] * site.xyz[2]);
      re += amplitude * std::cos(phase);
      im += amplitude * std::sin(phase);
      scale += std::abs(f);
    }
    const double f2 = re * re + im * im;
    return f2 <= 1e-18 * scale * scale ? 0.0 : f2;
  }

  // The family's member it is shown by: over the point group and Friedel's law.
  Miller Shown(const Miller& hkl) const {
    Miller best = hkl;
    for (const gemmi::Op& op : ops_.sym_ops) {
      const Miller m = op.apply_to_hkl(hkl);
      const Miller minus = {-m[0], -m[1], -m[2]};
      for (const Miller& candidate : {m, minus}) {
        if (ShownBefore(candidate, best))
          best = candidate;
      }
    }
    return best;
  }

  // |F|^2 summed over the family of hkl: each distinct member once.
  double FamilyIntensity(const Miller& hkl, double stol2) const {
    std::vector<Miller> members;
    for (const gemmi::Op& op : ops_.sym_ops) {
      const Miller m = op.apply_to_hkl(hkl);
      for (const Miller& candidate : {m, Miller{-m[0], -m[1], -m[2]}}) {
        if (std::find(members.begin(), members.end(), candidate) == members.end())
          members.push_back(candidate);
      }
    }
    double sum = 0.0;
    for (const Miller& m : members)
      sum += Allowed(m) ? Intensity(m, stol2) : 0.0;
    return sum;
  }

 private:
  struct Site {
    const gemmi::IT92<double>::Coef* factor;
    double b;
    std::array<double, 3> xyz;
  };

  // Every image of the atom in the cell, once: images closer than 1e-6 of the cell edge are
  // the same site (the special positions' images coincide).
  void AddSites(const gemmi::IT92<double>::Coef& factor, const StandardAtom& atom) {
    const std::size_t first = sites_.size();
    for (const gemmi::Op& op : ops_.all_ops_sorted()) {
      std::array<double, 3> xyz = op.apply_to_xyz({atom.x, atom.y, atom.z});
      for (double& u : xyz)
        u -= std::floor(u);
      const bool known = std::any_of(sites_.begin() + static_cast<std::ptrdiff_t>(first),
                                     sites_.end(), [&](const Site& s) {
                                       for (int i = 0; i < 3; ++i) {
                                         const double du = std::abs(s.xyz[i] - xyz[i]);
                                         if (std::min(du, 1.0 - du) > 1e-6)
                                           return false;
                                       }
                                       return true;
                                     });
      if (!known)
        sites_.push_back({&factor, atom.b, xyz});
    }
  }

  gemmi::GroupOps ops_;
  std::vector<Site> sites_;
};

// One allowed reflection on the way to the lines.
struct Reflection {
  Miller hkl;
  double inverseD2;
  double f2;
};

bool ValidCell(double a, double c, double wavelength, std::string& error) {
  auto good = [](double v) { return std::isfinite(v) && v > 0.0; };
  if (!good(a) || (c != 0.0 && !good(c))) {
    error = "the cell's edges must be positive numbers of angstrom";
    return false;
  }
  if (!good(wavelength)) {
    error = "the wavelength must be a positive number of angstrom";
    return false;
  }
  return true;
}

// Every allowed reflection with a spacing above dMin (two-theta below 100 degrees) of the
// cell a, c (c = a for a cubic one).
bool CollectReflections(const Crystal& crystal, double a, double c, bool hexagonal,
                        double wavelength, std::vector<Reflection>& found, std::string& error) {
  const double dMin = wavelength / (2.0 * std::sin(kHighestTwoTheta * std::numbers::pi / 360.0));
  // |h| <= a / d for any reflection of spacing d, and likewise for k and l.
  const double hMax = std::floor(a / dMin);
  const double lMax = std::floor(c / dMin);
  if ((2.0 * hMax + 1.0) * (2.0 * hMax + 1.0) * (2.0 * lMax + 1.0) > kMostReflectionCandidates) {
    error = "the cell is too large for the wavelength: too many lines below 100 degrees";
    return false;
  }
  const int hm = static_cast<int>(hMax);
  const int lm = static_cast<int>(lMax);
  for (int h = -hm; h <= hm; ++h) {
    for (int k = -hm; k <= hm; ++k) {
      for (int l = -lm; l <= lm; ++l) {
        const Miller hkl = {h, k, l};
        if ((h == 0 && k == 0 && l == 0) || !crystal.Allowed(hkl))
          continue;
        const double inverseD2 = InverseSpacingSquared(hkl, a, c, hexagonal);
        const double d = 1.0 / std::sqrt(inverseD2);
        if (wavelength >= 2.0 * d || BraggTwoTheta(wavelength, d) >= kHighestTwoTheta)
          continue;
        const double f2 = crystal.Intensity(hkl, inverseD2 / 4.0);
        if (f2 > 0.0)
          found.push_back({hkl, inverseD2, f2});
      }
    }
  }
  return true;
}

// One line from the reflections of one spacing: shown by its strongest family.
ReferenceLine LineOf(const Crystal& crystal, std::span<const Reflection> group, double wavelength) {
  std::map<Miller, double> families;
  for (const Reflection& r : group)
    families[crystal.Shown(r.hkl)] += r.f2;
  Miller shown = families.begin()->first;
  double strongest = -1.0;
  double sum = 0.0;
  for (const auto& [family, f2] : families) {
    sum += f2;
    // Silicon's 5 1 1 (24 members) outweighs 3 3 3 (8) at the same spacing; families equal
    // within rounding are shown by the one shown first.
    const bool stronger = f2 > strongest * (1.0 + 1e-9);
    const bool equal = !stronger && f2 >= strongest * (1.0 - 1e-9);
    if (stronger || (equal && ShownBefore(family, shown))) {
      strongest = std::max(strongest, f2);
      shown = family;
    }
  }
  ReferenceLine line;
  line.h = shown[0];
  line.k = shown[1];
  line.l = shown[2];
  line.d = 1.0 / std::sqrt(group.front().inverseD2);
  line.twoTheta = BraggTwoTheta(wavelength, line.d);
  line.intensity = sum * LorentzPolarization(line.twoTheta);
  return line;
}

void ScaleToStrongest(std::vector<ReferenceLine>& lines) {
  double strongest = 0.0;
  for (const ReferenceLine& line : lines)
    strongest = std::max(strongest, line.intensity);
  // The strongest is 100 exactly: 100 x / x need not be.
  for (ReferenceLine& line : lines) {
    line.intensity = line.intensity == strongest ? 100.0
                     : strongest > 0.0           ? 100.0 * line.intensity / strongest
                                                 : 0.0;
  }
}

bool ComputeLines(const Standard& standard, double a, double c, double wavelength,
                  std::vector<ReferenceLine>& lines, std::string& error) {
  Crystal crystal;
  if (!crystal.Build(standard, error))
    return false;
  const bool hexagonal = standard.Hexagonal();
  std::vector<Reflection> found;
  if (!CollectReflections(crystal, a, hexagonal ? c : a, hexagonal, wavelength, found, error))
    return false;
  std::sort(found.begin(), found.end(),
            [](const Reflection& x, const Reflection& y) { return x.inverseD2 < y.inverseD2; });
  lines.clear();
  for (std::size_t first = 0; first < found.size();) {
    std::size_t end = first + 1;
    // Equal spacings computed through different indices differ only in the last bits.
    while (end < found.size() &&
           found[end].inverseD2 - found[first].inverseD2 <= 1e-10 * found[first].inverseD2)
      ++end;
    lines.push_back(LineOf(crystal, std::span(found).subspan(first, end - first), wavelength));
    first = end;
  }
  if (lines.empty()) {
    error = "no line of " + std::string(standard.name) + " lies below 100 degrees two-theta";
    return false;
  }
  ScaleToStrongest(lines);
  return true;
}

}  // namespace

bool ComputeReferenceLines(const Standard& standard, double a, double c, double wavelength,
                           std::vector<ReferenceLine>& lines, std::string& error) {
  if (!ValidCell(a, standard.Hexagonal() ? c : 0.0, wavelength, error))
    return false;
  // gemmi says its failures by exceptions; none leaves this module.
  try {
    return ComputeLines(standard, a, c, wavelength, lines, error);
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
}

bool ComputeTableIntensities(const Standard& standard, double wavelength,
                             std::vector<ReferenceLine>& lines, std::string& error) {
  try {
    Crystal crystal;
    if (!crystal.Build(standard, error))
      return false;
    for (ReferenceLine& line : lines) {
      const double sinTheta = std::sin(line.twoTheta * std::numbers::pi / 360.0);
      line.d = wavelength / (2.0 * sinTheta);
      const double stol = sinTheta / wavelength;
      line.intensity = crystal.FamilyIntensity({line.h, line.k, line.l}, stol * stol) *
                       LorentzPolarization(line.twoTheta);
    }
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
  ScaleToStrongest(lines);
  return true;
}

}  // namespace pellum
