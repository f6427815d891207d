#pragma once

#include <string_view>

#include "ui/message_kind.h"

namespace pellum {

// Where the core's messages go: message boxes in the desktop program, lines of text in
// pellum-cli, a list in the tests. A message about a file shows the file's path as its
// text and the failure as its caption.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void ShowMessage(std::string_view text, std::string_view caption, MessageKind kind) = 0;
};

}  // namespace pellum
