#pragma once

namespace pellum {

// The three kinds of message the user can be shown; each has its own icon
// (stop sign, exclamation mark, information) and a single OK button.
enum class MessageKind { Error, Warning, Information };

}  // namespace pellum
