#pragma once

#include <QWidget>
#include <string_view>

namespace pellum {

// A question with two answers under caption. The declining answer is the default button
// and also what Escape and the close button give. Returns true for acceptText.
bool AskQuestionBox(QWidget* owner, std::string_view text, std::string_view caption,
                    std::string_view acceptText, std::string_view declineText);

}  // namespace pellum
