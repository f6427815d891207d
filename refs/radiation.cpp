#include "refs/radiation.h"

namespace pellum {

const Radiation* FindRadiation(std::string_view name) {
  for (const Radiation& radiation : kRadiations) {
    if (radiation.name == name)
      return &radiation;
  }
  return nullptr;
}

}  // namespace pellum
