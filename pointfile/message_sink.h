// Where an operation sends a text the user must read. The core never shows anything itself:
// the editor puts the text in a message box, pnt prints it, tests keep it.
#pragma once

#include <string>

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // `text` is Shift_JIS and complete; line breaks are "\n".
  virtual void ShowMessage(const std::string& text) = 0;
};
