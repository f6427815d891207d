#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace pellum {

// The six experimental two-theta entries as the user typed them, one slot per reference
// reflection. They start at "-1" (not available) and live for the whole run, so the entry
// dialog reopens with the previous calibration's readings.
class EntryTexts {
 public:
  static constexpr std::size_t kSlotCount = 6;
  // An entry field keeps at most this many characters of what was typed.
  static constexpr std::size_t kMaxSlotLength = 18;

  EntryTexts();

  const std::string& Slot(std::size_t index) const { return slots_.at(index); }
  // Stores text, cut to its first kMaxSlotLength characters.
  void SetSlot(std::size_t index, std::string_view text);

 private:
  std::array<std::string, kSlotCount> slots_;
};

}  // namespace pellum
