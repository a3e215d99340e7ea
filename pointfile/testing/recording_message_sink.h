// A MessageSink that keeps every text it is given, so a test can check what the user would
// have read (or that nothing was shown).
#pragma once

#include <string>
#include <vector>

#include "pointfile/message_sink.h"

class RecordingMessageSink : public MessageSink {
 public:
  void ShowMessage(const std::string& text) override { texts.push_back(text); }

  std::vector<std::string> texts;
};
