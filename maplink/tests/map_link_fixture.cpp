#include "maplink/tests/map_link_fixture.h"

#include <algorithm>
#include <cstdio>

#include "framework/text_encoding.h"

namespace {

UINT IdOf(MapMessage message) {
  return ::RegisterWindowMessageW(WidenText(kMapMessageNames[static_cast<std::size_t>(message)]).c_str());
}

bool StartsWith(const std::string& text, const std::string& start) { return text.compare(0, start.size(), start) == 0; }

}  // namespace

MapLinkTest::MapLinkTest() {
  registry.Put(RegistryRoot::kLocalMachine, helperKey, "MapObject", {MemoryRegistry::Type::kString, "ProAtlasW3.Map", 0});
}

void MapLinkTest::SetUp() {
  window.MapLink().MapObjects().UseRegistry(registry);
  window.MapLink().UseChannel(channel);
  EditingTest::SetUp();
}

std::vector<std::string> MapLinkTest::Messages() const {
  MapMessageIds ids;
  ids.Register();
  std::vector<std::string> lines;
  TextAssembler text;
  for (const MemoryHelperChannel::Posted& post : channel.posted) {
    const std::optional<MapMessage> step = ids.Find(static_cast<UINT>(post.wParam));
    if (post.message != ids.Id(MapMessage::kQuorvin) || !step) {
      lines.push_back("? " + std::to_string(post.message));
      continue;
    }
    char line[64];
    std::snprintf(line, sizeof line, "%s 0x%08X", kMapMessageNames[static_cast<std::size_t>(*step)],
                  static_cast<unsigned>(post.lParam));
    if (*step == MapMessage::kTextStart) {
      text.Start();
      lines.push_back(line);
    } else if (*step == MapMessage::kTextChar) {
      text.AppendCharacter(static_cast<std::int32_t>(post.lParam));
      lines.push_back(line);
    } else {
      lines.push_back(std::string(line) + " " + text.Text());
    }
  }
  return lines;
}

std::vector<std::string> MapLinkTest::Commands() const {
  std::vector<std::string> commands;
  for (const std::string& line : Messages()) {
    if (!StartsWith(line, "SUB_TEXT_START ") && !StartsWith(line, "SUB_TEXT_CHAR ")) commands.push_back(line);
  }
  return commands;
}

std::vector<std::string> MapLinkTest::LastCommands(size_t count) const {
  const std::vector<std::string> commands = Commands();
  return std::vector<std::string>(commands.end() - std::min(count, commands.size()), commands.end());
}

void MapLinkTest::Reply(MapMessage request, const std::string& bytes) {
  for (const TextStep& step : EncodeReply(request, bytes)) window.Post(kHelperReplyMessage, IdOf(step.subCommand), step.lParam);
  PumpMessages();
}

void MapLinkTest::ReceiveMarker(const std::string& latitude, const std::string& longitude) {
  if (!window.MapLink().HelperStarted()) Command(IDC_MAP_DISPLAY);
  window.Post(kMarkerNoticeMessage);
  PumpMessages();
  ASSERT_EQ(LastCommands(2), (std::vector<std::string>{"SUB_GET_MARK_LAT 0x00000000 ", "SUB_GET_MARK_LON 0x00000000 "}));
  // The helper answers the requests in the order they came.
  Reply(MapMessage::kGetMarkLat, latitude);
  Reply(MapMessage::kGetMarkLon, longitude);
}
