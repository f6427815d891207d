#pragma once

#include <iostream>

#include "ui/message_sink.h"

namespace pellum::cli {

// Shows each message as one line "caption: text": information on standard output, warnings
// and errors on standard error, so that a batch job's log keeps them apart.
//   Info: Output file is saved as /films/film.dat
//   Cannot open a file!: /films/film.pid
class ConsoleMessages : public MessageSink {
 public:
  ConsoleMessages(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
  void ShowMessage(std::string_view text, std::string_view caption, MessageKind kind) override {
    std::ostream& stream = kind == MessageKind::Information ? out_ : err_;
    stream << caption << ": " << text << '\n';
  }

 private:
  std::ostream& out_;
  std::ostream& err_;
};

}  // namespace pellum::cli
