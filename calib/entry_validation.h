#pragma once

#include <array>

#include "calib/entry_texts.h"
#include "ui/message_sink.h"

namespace pellum {

using ParsedEntries = std::array<double, EntryTexts::kSlotCount>;

// Each slot through ParseDecimal, in order.
ParsedEntries ParseEntries(const EntryTexts& texts);

// Decides whether the entries can be calibrated from. On refusal shows exactly one
// warning (caption "Warning!"), the first that applies of:
//   "2 theta value must be below 100."   a value of 100 or more
//   "2 theta value must be a number: reading 3 (3 1 1) is empty."
//                                         the first slot that is not one number, blanks
//                                         aside: empty, "is not a number", or "has a
//                                         decimal comma: use a point."
//   "At least two reflections with different 2 theta values are needed."
//                                         fewer than two distinct non-negative values
// All six negative is valid: it is how the user leaves the dialog without calibrating.
bool ValidateEntries(const EntryTexts& texts, const ParsedEntries& values, MessageSink& messages);

}  // namespace pellum
