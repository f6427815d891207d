#pragma once

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <functional>
#include <string>

namespace pellum {

// The Calibration Data dialog's Reference row, above the readings: the standard (the
// built-in silicon table "si" first, then every certified standard by name and material),
// the radiation (Cu K-alpha1 first, then Co, Fe, Cr, Mo and Ag K-alpha1) and the wavelength
// they mean, as a read-only text ("2.289726 Å"). The built-in table goes with Cu K-alpha1
// only: while it is chosen the radiation stays there and cannot be changed.
//
// The two boxes are outside the Tab order, which stays OK and the readings, but Alt+S and
// Alt+R reach them through their labels.
class ReferenceRow {
 public:
  // Makes the row's widgets in dialog, on standard and radiation (names as pellum-cli takes
  // them, "lab6-660c", "cr"); changed runs after every change the user makes.
  QFormLayout* Make(QWidget* dialog, const std::string& standard, const std::string& radiation,
                    std::function<void()> changed);

  std::string Standard() const;
  std::string Radiation() const;
  QComboBox* StandardBox() const { return standard_; }
  QComboBox* RadiationBox() const { return radiation_; }
  QLabel* WavelengthText() const { return wavelength_; }

 private:
  // The radiation and the wavelength follow the standard.
  void Follow();

  QComboBox* standard_ = nullptr;
  QComboBox* radiation_ = nullptr;
  QLabel* wavelength_ = nullptr;
  std::function<void()> changed_;
};

}  // namespace pellum
