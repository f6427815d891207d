#include "refs/reference_choice.h"

#include <charconv>
#include <cmath>

#include "calib/reference_table.h"
#include "refs/radiation.h"

namespace pellum {
namespace {

// A positive, finite number, all of the text.
bool ParsePositive(std::string_view text, double& value) {
  const char* end = text.data() + text.size();
  const auto [after, failure] = std::from_chars(text.data(), end, value);
  return failure == std::errc() && after == end && std::isfinite(value) && value > 0.0;
}

std::string StandardNames() {
  std::string names{kBuiltInTableName};
  for (const Standard& standard : BuiltInStandards())
    names += ", " + std::string(standard.name);
  return names;
}

std::string RadiationNames() {
  std::string names;
  for (const Radiation& radiation : kRadiations)
    names += (names.empty() ? "" : ", ") + std::string(radiation.name);
  return names;
}

bool ChooseWavelength(const ReferenceRequest& request, Reference& reference, std::string& error) {
  if (request.radiation && request.wavelength) {
    error = "give a radiation or a wavelength, not both";
    return false;
  }
  if (request.wavelength) {
    if (!ParsePositive(*request.wavelength, reference.wavelength)) {
      error = "the wavelength must be a positive number of angstrom, such as 1.5405929";
      return false;
    }
    return true;
  }
  const std::string name = request.radiation.value_or(std::string(kDefaultRadiation));
  const Radiation* radiation = FindRadiation(name);
  if (radiation == nullptr) {
    error = "unknown radiation " + name + ": use " + RadiationNames() + ", or a wavelength";
    return false;
  }
  reference.radiation = radiation->name;
  reference.wavelength = radiation->wavelength;
  return true;
}

// "5.431179" for a cubic standard, "4.759091,12.991779" for a hexagonal one.
bool ChooseCell(const ReferenceRequest& request, const Standard& standard, Reference& reference,
                std::string& error) {
  reference.a = standard.a;
  reference.c = standard.c;
  if (!request.lattice)
    return true;
  const std::string& text = *request.lattice;
  const std::size_t comma = text.find(',');
  const bool shapeFits = standard.Hexagonal() == (comma != std::string::npos);
  const bool parsed =
      comma == std::string::npos
          ? ParsePositive(text, reference.a)
          : ParsePositive(std::string_view(text).substr(0, comma), reference.a) &&
                ParsePositive(std::string_view(text).substr(comma + 1), reference.c);
  if (!shapeFits || !parsed) {
    error = std::string(standard.name) + (standard.Hexagonal()
                                              ? " has a hexagonal cell: give it as A,C in angstrom"
                                              : " has a cubic cell: give it as A in angstrom");
    return false;
  }
  return true;
}

// The built-in table: its six lines as they are, Cu K-alpha1 only.
bool ChooseBuiltInTable(const ReferenceRequest& request, Reference& reference, std::string& error) {
  const Radiation* copper = FindRadiation(kDefaultRadiation);
  if (request.lattice) {
    error = "the built-in table si has no cell to change: give a certified silicon standard (" +
            std::string(kCertifiedSiliconNames) + ") with the cell";
    return false;
  }
  if (reference.wavelength != copper->wavelength) {
    error =
        "the built-in table si holds silicon's lines for Cu K-alpha1 only: for another "
        "radiation use a certified silicon standard, " +
        std::string(kCertifiedSiliconNames);
    return false;
  }
  reference.material = "silicon";
  reference.radiation = copper->name;
  reference.lines.clear();
  for (const ReferenceReflection& row : ReferenceTable) {
    ReferenceLine line;
    line.h = row.hkl[0] - '0';
    line.k = row.hkl[2] - '0';
    line.l = row.hkl[4] - '0';
    line.twoTheta = row.twoTheta;
    reference.lines.push_back(line);
  }
  // The intensities of the diamond structure, as any certified silicon has it.
  return ComputeTableIntensities(BuiltInStandards().front(), reference.wavelength, reference.lines,
                                 error);
}

}  // namespace

bool ChooseReference(const ReferenceRequest& request, Reference& reference, std::string& error) {
  reference = Reference{};
  reference.standard = request.standard;
  if (!ChooseWavelength(request, reference, error))
    return false;
  if (request.standard == kBuiltInTableName)
    return ChooseBuiltInTable(request, reference, error);
  const Standard* standard = FindStandard(request.standard);
  if (standard == nullptr) {
    error = "unknown standard " + request.standard + ": use " + StandardNames();
    return false;
  }
  reference.material = standard->material;
  if (!ChooseCell(request, *standard, reference, error))
    return false;
  return ComputeReferenceLines(*standard, reference.a, reference.c, reference.wavelength,
                               reference.lines, error);
}

}  // namespace pellum
