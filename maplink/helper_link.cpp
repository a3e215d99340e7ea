#include "maplink/helper_link.h"

#include <cstdio>

#include "framework/prompts.h"
#include "maplink/map_object_list.h"
#include "pointfile/point_file.h"

namespace {

// How often one refused post waits for the helper's queue before it is given up: with the
// Win32 channel's waits, about three seconds in which the helper took nothing.
constexpr int kQueueRoomWaits = 60;

std::string UnsentPointsText(int count) {
  char text[128];
  std::snprintf(text, sizeof text, "%d地点を地図に送れませんでした（地図ヘルパーが応答しません）", count);
  return text;
}

// Beside the editor's own executable, in UTF-16 all the way.
std::wstring HelperPath() {
  return ProgramFolder() + std::wstring(std::begin(kHelperFileName), std::end(kHelperFileName) - 1);  // ASCII
}

}  // namespace

void HelperLink::ReadMapObjectName() {
  m_keyName = kMapObjectKeyWord;
  m_mapObjectDialog.SetKeyName(m_keyName);
  m_mapObjectName = m_mapObjectDialog.Store().ReadString(kChosenMapObjectValue);
}

void HelperLink::RegisterMapMessages() { m_mapMessages.Register(); }

void HelperLink::CheckHelperPresent() { m_helperPresent = m_channel->ProgramExists(HelperPath()); }

void HelperLink::StartHelper() {
  const bool started = m_channel->StartProgram(HelperPath());
  SendTextCommand(MapMessage::kSetLayer, "4");
  // Never another program's helper when none could be started here.
  m_helperWindow = started ? m_channel->FindHelperWindow() : nullptr;
  m_helperStarted = true;
  SendTextCommand(MapMessage::kObjectName, m_mapObjectName);
  SendTextCommand(MapMessage::kInitMap, "");
}

bool HelperLink::SendTextCommand(MapMessage command, std::string_view text) {
  // Found anew for every command: the helper may have been closed, or started by another
  // program, since the last one.
  const HWND helper = m_channel->FindHelperWindow();
  if (!helper) return true;
  for (const TextStep& step : EncodeTextCommand(command, text)) {
    if (!PostStep(helper, step)) return false;
  }
  return true;
}

bool HelperLink::PostStep(HWND helper, const TextStep& step) {
  for (int waits = 0;; ++waits) {
    if (m_channel->Post(helper, MapMessageId(MapMessage::kQuorvin), MapMessageId(step.subCommand), step.lParam))
      return true;
    if (waits == kQueueRoomWaits || !m_channel->WaitForQueueRoom(helper)) return false;
  }
}

void HelperLink::OnMarkerNotice() {
  SendTextCommand(MapMessage::kGetMarkLat, "");
  SendTextCommand(MapMessage::kGetMarkLon, "");
  m_host.MarkerAvailable();
}

void HelperLink::OnHelperReply(WPARAM wParam, LPARAM lParam) {
  const std::optional<MapMessage> step = m_mapMessages.Find(static_cast<UINT>(wParam));
  if (!step) return;
  switch (*step) {
    case MapMessage::kTextStart:
      m_replyText.Start();
      return;
    case MapMessage::kTextChar:
      m_replyText.AppendByte(static_cast<std::int32_t>(lParam));
      return;
    case MapMessage::kGetMarkLat:
      m_marker.latitude = MarkerText(m_replyText.Text());
      break;
    case MapMessage::kGetMarkLon:
      m_marker.longitude = MarkerText(m_replyText.Text());
      break;
    default:
      return;
  }
  m_host.MarkerTextsChanged(m_marker);
}

void HelperLink::CloseHelper() {
  m_channel->CloseProgram(m_helperWindow);
  m_helperWindow = nullptr;
}

void HelperLink::OnMapDisplay(const PointFile& file, std::span<const int> slots, HWND owner) {
  if (!m_helperStarted) StartHelper();
  // Once the helper stops taking posts the rest are only counted: each would wait as long
  // again.
  bool sending = SendTextCommand(MapMessage::kDeleteText, "");
  int unsent = 0;
  std::string text;
  for (const int slot : slots) {
    // A blank row stands for an empty slot between the points of a foreign file: it has no
    // place to show.
    if (!file.IsUsed(slot)) continue;
    if (sending) {
      text = ToHelperCoordinate(file.GetLatitudeText(slot));
      text += ',';
      text += ToHelperCoordinate(file.GetLongitudeText(slot));
      text += ',';
      text += file.GetName(slot);
      sending = SendTextCommand(MapMessage::kAddTextEx, text);
    }
    if (!sending) ++unsent;
  }
  if (unsent > 0) Prompts().ShowMessage(owner, UnsentPointsText(unsent));
}

void HelperLink::OnCapturePosition() {
  if (!m_helperStarted) StartHelper();
  if (m_marker.Known()) m_host.PointCaptured(m_marker);
}

void HelperLink::OnSelectMapObject(HWND owner) {
  m_mapObjectDialog.SetKeyName(m_keyName);
  m_mapObjectDialog.SetParentWindow(owner);
  if (m_mapObjectDialog.DoModal() != IDOK) return;
  if (m_mapObjectName == m_mapObjectDialog.SelectedName() && m_helperStarted) return;
  CloseHelper();
  m_mapObjectName = m_mapObjectDialog.SelectedName();
  StartHelper();
}
