// The main window with its map link on a channel held in memory: what the editor posts to
// the helper is decoded as the helper would write it down, and the helper's notices and
// replies are posted to the window as the helper posts them. The map objects live in a
// registry held in memory whose chosen name is "ProAtlasW3.Map".
#pragma once

#include <string>
#include <vector>

#include "app/tests/editing_fixture.h"
#include "maplink/testing/memory_helper_channel.h"
#include "registry/testing/memory_registry.h"

class MapLinkTest : public EditingTest {
 protected:
  MapLinkTest();
  void SetUp() override;

  // The protocol's messages posted to the helper, one line each: "SUB_TEXT_CHAR 0x00000034",
  // and a command with the text it ends: "SUB_SET_LAYER 0x00000000 4".
  std::vector<std::string> Messages() const;
  // Only the commands among them, with their texts.
  std::vector<std::string> Commands() const;
  // The last `count` of them (fewer when there are not that many).
  std::vector<std::string> LastCommands(size_t count) const;
  // A reply of the helper to `request`, posted to the window and handled.
  void Reply(MapMessage request, const std::string& bytes);
  // The helper's marker notice and its answers to the two requests that follow, the helper
  // started first by a map display when it is not yet.
  void ReceiveMarker(const std::string& latitude, const std::string& longitude);

  MemoryHelperChannel channel;
  MemoryRegistry registry;
  std::string helperKey = "SOFTWARE\\Brannock\\Merlow";
};
