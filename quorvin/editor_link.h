// The helper's end of the window messages: the registered ids of the twelve names, and the
// editor's main window, found anew for every message posted to it.
#pragma once

#include <windows.h>

#include <optional>
#include <span>

#include "maplink/helper_protocol.h"
#include "maplink/map_message_ids.h"

class EditorLink {
 public:
  // Registers the twelve names (both sides get the same ids in one session).
  EditorLink();

  UINT CommandMessage() const { return Id(MapMessage::kQuorvin); }
  UINT Id(MapMessage message) const { return m_ids.Id(message); }
  // The name a wParam stands for; nothing when it is none of the twelve ids.
  std::optional<MapMessage> SubCommand(WPARAM wParam) const { return m_ids.Find(static_cast<UINT>(wParam)); }

  // The editor's main window: a top-level window titled "Ostrel" that has a menu. Its
  // message boxes carry the same caption but no menu, and must not get the helper's
  // messages. Null when the editor is not running.
  static HWND FindEditorWindow();

  // Posts a reply's steps as 0x0801 messages; false when there is no editor to post to.
  bool PostReply(std::span<const TextStep> steps) const;
  // Posts the marker notice 0x0800.
  bool PostMarkerNotice() const;

 private:
  MapMessageIds m_ids;
};
