#pragma once

#include <string>
#include <vector>

#include "ui/message_sink.h"

namespace pellum::testing {

// A MessageSink that remembers what the user would have been shown, in order.
struct LoggedMessage {
  std::string text;
  std::string caption;
  MessageKind kind;
  bool operator==(const LoggedMessage&) const = default;
};

class MessageLog : public MessageSink {
 public:
  void ShowMessage(std::string_view text, std::string_view caption, MessageKind kind) override {
    messages.push_back({std::string(text), std::string(caption), kind});
  }
  std::vector<LoggedMessage> messages;
};

}  // namespace pellum::testing
