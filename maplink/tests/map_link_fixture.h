// The main window with the recording helper (recording_helper.cpp) beside the test program
// as "Quorvin2.exe", its log and script in the test's directory, and the map objects in a
// registry held in memory whose chosen name is "ProAtlasW3.Map".
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/tests/editing_fixture.h"
#include "maplink/testing/memory_registry.h"

class MapLinkTest : public EditingTest {
 protected:
  MapLinkTest();
  void SetUp() override;
  void TearDown() override;

  // What the helper reads at its next request.
  void Script(const std::string& text);
  // The helper's log, a line a record.
  std::vector<std::string> Log() const;
  // The protocol's messages in the log: "SUB_TEXT_CHAR 0x00000034", "SUB_SET_LAYER 0x00000000 4".
  std::vector<std::string> Messages() const;
  // Only the commands among them, with their texts.
  std::vector<std::string> Commands() const;
  // The last `count` of them (fewer when there are not that many).
  std::vector<std::string> LastCommands(size_t count) const;
  // The ids of the helpers started so far.
  std::vector<DWORD> StartedHelpers() const;
  // Waits until the helper has written down everything posted to it so far, and the
  // replies it posted back have been handled. False when no helper answered.
  bool SyncHelper();
  // Handles this thread's messages until `done` holds, for `milliseconds` at most.
  bool WaitUntil(const std::function<bool()>& done, DWORD milliseconds = 10000);
  // The marker position the script gives, as far as the capture button's enabling.
  void ReceiveMarker(const std::string& latitude, const std::string& longitude);

  MemoryRegistry registry;
  std::string helperKey = "SOFTWARE\\Brannock\\Merlow";

 private:
  std::string m_logPath;
  std::string m_scriptPath;
  unsigned m_syncs = 0;
};

bool IsProcessRunning(DWORD processId);
