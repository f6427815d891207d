#pragma once

#include <string>

#include "app/reference_entries.h"

namespace pellum {

// The reference chosen in the Calibration Data dialog, kept between runs as the last folder
// and the model are: its standard and radiation on one line in a small file of its own
// ("lab6-660c cr\n").
//
// Sets entries' standard and radiation to the ones kept at settingPath; leaves them as they
// are when there is none, or the file holds anything but a reference the dialog offers
// (IsOfferedReference). Never reported: the default is a sound choice.
void ReadReferenceSetting(const std::string& settingPath, ReferenceEntries& entries);

// Keeps entries' standard and radiation at settingPath, complete or not at all. False when
// it could not be written; an empty settingPath keeps nothing and is no failure.
bool WriteReferenceSetting(const std::string& settingPath, const ReferenceEntries& entries);

}  // namespace pellum
