// HelperLink: the editor's side of the map link. It owns what the link is made of: the
// helper program "Quorvin2.exe" beside the editor, started on first use; the registered
// message ids; the replies being assembled; the marker position last reported; and the map
// program the helper is told to drive, with the dialog that chooses it. It reaches the helper
// through a HelperChannel and tells the main window what changed through HelperLinkHost.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>

#include "maplink/capture.h"
#include "maplink/helper_channel.h"
#include "maplink/helper_protocol.h"
#include "maplink/map_message_ids.h"
#include "maplink/map_object_dialog.h"

class PointFile;

class HelperLinkHost {
 public:
  // The helper's marker notice: the position is on its way, and the controls that show and
  // take it can be used from now on.
  virtual void MarkerAvailable() = 0;
  // A reply completed one of the marker's texts.
  virtual void MarkerTextsChanged(const MarkerTexts& marker) = 0;
  // Capture: a new point at the marker, for the window to add.
  virtual void PointCaptured(const MarkerTexts& marker) = 0;

 protected:
  ~HelperLinkHost() = default;
};

class HelperLink {
 public:
  HelperLink(HelperChannel& channel, HelperLinkHost& host) : m_channel(&channel), m_host(host) {}
  // Tests: another channel in place of the process and its window.
  void UseChannel(HelperChannel& channel) { m_channel = &channel; }

  // --- At the main window's initialisation ------------------------------------------------
  // The map-object name last chosen, from the registry.
  void ReadMapObjectName();
  // Registers the twelve names in the protocol's order.
  void RegisterMapMessages();
  // Whether the helper program stands beside the editor.
  void CheckHelperPresent();

  // --- The link ----------------------------------------------------------------------------
  // Starts the helper beside the editor, when there is one, and sends the start sequence:
  // layer, map-object name, map start. Marks the helper started either way.
  void StartHelper();
  // Posts one text command to the helper's window; with no such window it is lost. A post
  // the window refuses (its queue is full) is tried again while the helper drains its
  // queue, a few seconds at most; false when it still would not go.
  bool SendTextCommand(MapMessage command, std::string_view text);
  // Message 0x0800: asks for the marker's latitude and longitude.
  void OnMarkerNotice();
  // Message 0x0801: one step of a reply.
  void OnHelperReply(WPARAM wParam, LPARAM lParam);
  // Asks the helper to end and waits for it, a few seconds at most.
  void CloseHelper();

  // --- The commands ------------------------------------------------------------------------
  // Shows the points in `slots` of `file` on the map, after clearing what was shown. When
  // the helper stops taking them, the rest are not sent and a message over `owner` says how
  // many points are missing from the map.
  void OnMapDisplay(const PointFile& file, std::span<const int> slots, HWND owner);
  // Hands the window a new point at the marker, once a marker is known.
  void OnCapturePosition();
  // Runs the map-object dialog over `owner`; a newly chosen map program restarts the helper.
  void OnSelectMapObject(HWND owner);

  bool HelperPresent() const { return m_helperPresent; }
  bool HelperStarted() const { return m_helperStarted; }
  const MarkerTexts& Marker() const { return m_marker; }
  const std::string& MapObjectName() const { return m_mapObjectName; }
  MapObjectDialog& MapObjects() { return m_mapObjectDialog; }

 private:
  UINT MapMessageId(MapMessage message) const { return m_mapMessages.Id(message); }
  bool PostStep(HWND helper, const TextStep& step);

  HelperChannel* m_channel;
  HelperLinkHost& m_host;
  MapMessageIds m_mapMessages;
  TextAssembler m_replyText;
  // The window closing asks to end: only that of a helper this editor started.
  HWND m_helperWindow = nullptr;
  MarkerTexts m_marker;
  bool m_helperPresent = false;
  bool m_helperStarted = false;
  std::string m_keyName;
  std::string m_mapObjectName;
  MapObjectDialog m_mapObjectDialog;
};
