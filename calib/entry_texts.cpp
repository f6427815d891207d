#include "calib/entry_texts.h"

namespace pellum {

EntryTexts::EntryTexts() {
  slots_.fill("-1");
}

void EntryTexts::SetSlot(std::size_t index, std::string_view text) {
  slots_.at(index) = std::string(text.substr(0, kMaxSlotLength));
}

}  // namespace pellum
