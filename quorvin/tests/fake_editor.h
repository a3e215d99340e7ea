// The editor's side of the map link as the helper meets it, for the helper's tests: a
// top-level window titled "Ostrel" with a menu that records the 0x0800 and 0x0801 messages
// it is posted and puts the replies together the way the editor does. And a window with
// the same title but no menu, as the editor's message boxes have, which must get nothing.
#pragma once

#define IDR_FAKE_EDITOR_MENU 300

#ifndef RC_INVOKED
#include <windows.h>

#include <string>
#include <vector>

#include "framework/frame_window.h"
#include "maplink/helper_protocol.h"

struct PostedReply {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const PostedReply&) const = default;
};

class FakeEditor : public FrameWindow {
 public:
  // With the menu: the editor's main window; without: one of its message boxes.
  bool Create(bool withMenu);

  std::vector<PostedReply> received;
  int markerNotices = 0;
  // The last completed replies, as coordinate texts (FromHelperCoordinate).
  std::string latitude, longitude;

  OSTREL_MESSAGE_TABLE();

 private:
  LRESULT OnMarkerNotice(WPARAM wParam, LPARAM lParam);
  LRESULT OnHelperReply(WPARAM wParam, LPARAM lParam);
  TextAssembler m_reply;
};
#endif
