// One text command posted to the helper's window the way the editor posts it: a run of
// messages, one a character. For the tests and benchmarks that stand in for the editor.
#pragma once

#include <windows.h>

#include <string_view>

#include "maplink/helper_protocol.h"
#include "quorvin/editor_link.h"

inline void PostTextCommand(HWND helper, const EditorLink& link, MapMessage command, std::string_view text) {
  for (const TextStep& step : EncodeTextCommand(command, text))
    ::PostMessageW(helper, link.CommandMessage(), link.Id(step.subCommand), step.lParam);
}
