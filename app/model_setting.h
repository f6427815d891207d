#pragma once

#include <string>

#include "calib/fit_model.h"

namespace pellum {

// The window's choice of model, kept between runs as the last folder is: the rule's name on
// one line in a small file of its own beside the folder's ("significant\n").
//
// The rule kept at settingPath; the report's chi-square rule when there is none, or the
// file holds anything but one of the four names. Never reported: the default is a sound
// choice.
ModelRule ReadModelSetting(const std::string& settingPath);

// Keeps rule at settingPath, complete or not at all. False when it could not be written;
// an empty settingPath keeps nothing and is no failure.
bool WriteModelSetting(const std::string& settingPath, ModelRule rule);

}  // namespace pellum
