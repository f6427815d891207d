#pragma once

#include <cstddef>
#include <ostream>
#include <string>

namespace pellum {

// Rows are gathered into one text and written in blocks of about this size, so that the
// stream is called once per few thousand rows rather than once per row.
inline constexpr std::size_t kRowBlockSize = std::size_t{1} << 18;

// Writes the gathered rows and empties the block. False once the stream has failed.
inline bool FlushRowBlock(std::ostream& out, std::string& block) {
  out.write(block.data(), static_cast<std::streamsize>(block.size()));
  block.clear();
  return static_cast<bool>(out);
}

}  // namespace pellum
