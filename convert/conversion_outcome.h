#pragma once

namespace pellum {

// How a conversion between two streams ended. The file-level converters turn it into
// their messages and decide whether the output replaces an earlier one.
enum class ConversionOutcome {
  Converted,      // every line was read and the whole output was written
  InvalidFormat,  // the input ended before its header did
  ReadFailed,     // the input could not be read to its end
  WriteFailed,    // the output stream refused a write or a flush
};

}  // namespace pellum
