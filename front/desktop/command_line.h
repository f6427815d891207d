#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace pellum {

// The desktop program takes no arguments of its own but --help and --version, which are
// answered before any window opens (and without a display), so that a packaged program
// can say what it is from a terminal and its manual page is made from what it prints.
//
//   pellum --version      -> prints "pellum 1.03", returns true
//   pellum -platform xcb  -> prints nothing, returns false: the arguments are Qt's
bool AnswerInformationalArguments(std::span<char* const> arguments, std::ostream& out);

// The text of pellum --help.
std::string_view DesktopUsageText();

}  // namespace pellum
