#include "quorvin/tests/fake_editor.h"

#include <string>

namespace {

UINT IdOf(MapMessage message) {
  const std::string name = kMapMessageNames[static_cast<std::size_t>(message)];
  return ::RegisterWindowMessageW(std::wstring(name.begin(), name.end()).c_str());
}

}  // namespace

const MessageEntry FakeEditor::kMessageEntries[] = {
    OnMessage<&FakeEditor::OnMarkerNotice>(kMarkerNoticeMessage),
    OnMessage<&FakeEditor::OnHelperReply>(kHelperReplyMessage),
};
OSTREL_DEFINE_MESSAGE_TABLE(FakeEditor, FrameWindow);

bool FakeEditor::Create(bool withMenu) {
  static const FrameWindowClass kClass{L"FakeOstrel", 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)};
  return FrameWindow::Create(kClass, "Ostrel", withMenu ? IDR_FAKE_EDITOR_MENU : 0, 300, 200);
}

LRESULT FakeEditor::OnMarkerNotice(WPARAM wParam, LPARAM lParam) {
  received.push_back({kMarkerNoticeMessage, wParam, lParam});
  ++markerNotices;
  return 0;
}

LRESULT FakeEditor::OnHelperReply(WPARAM wParam, LPARAM lParam) {
  received.push_back({kHelperReplyMessage, wParam, lParam});
  if (wParam == IdOf(MapMessage::kTextStart)) m_reply.Start();
  if (wParam == IdOf(MapMessage::kTextChar)) m_reply.AppendByte(static_cast<std::int32_t>(lParam));
  if (wParam == IdOf(MapMessage::kGetMarkLat)) latitude = FromHelperCoordinate(m_reply.Text());
  if (wParam == IdOf(MapMessage::kGetMarkLon)) longitude = FromHelperCoordinate(m_reply.Text());
  return 0;
}
