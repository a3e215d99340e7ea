// A main window created for real, driven by window messages, with its boxes and file
// dialogs scripted and its files in a throwaway directory.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/dialog_init_hooks.h"
#include "framework/testing/gui_test_support.h"
#include "framework/testing/scripted_prompter.h"
#include "app/main_dialog.h"
#include "pointfile/point_file.h"
#include "pointfile/testing/memory_backup_folder.h"
#include "lists/point_text_row.h"
#include "resources/resource.h"

// `count` points named P00, P01, ...; icon number i % 55 + 1; fixed dates, sealed.
PointFile NumberedPoints(int count);
// `file` with one more point, named `name`, in slot `slot` beyond empty slots: the gap a
// file from elsewhere may have.
PointFile WithStrayPoint(PointFile file, int slot, const std::string& name);

struct PointTyping;

class EditingTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes `file` into the test directory under `name` and drops it on the window.
  std::string OpenFile(const PointFile& file, const std::string& name = "points.pnt");

  void Command(int id) { window.Send(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
  // The add command, with `typing` entered in the edit dialog.
  void AddPointAs(const PointTyping& typing);
  // A notification from the point list, as the list sends it to its parent.
  LRESULT NotifyFromList(UINT code, int item = -1);
  // Selects exactly `rows` through the list's own messages.
  void SelectRows(const std::vector<int>& rows);
  std::vector<int> SelectedRows() const;
  std::vector<std::string> RowNames() const;
  PointTextRow RowTexts(int row) const;
  // Every row shows its slot, and there is one row per listed slot.
  void ExpectListMatchesTable() const;
  // The state of an item of the 編集 pop-up as the menu is about to show it.
  UINT EditMenuState(UINT id);
  // Ctrl + `key` pressed in window `target`, as the dialog manager hands it to the filter;
  // true when the window's keys took it.
  bool PressCtrl(HWND target, WPARAM key);

  PointFile& Points() { return window.Points(); }
  PointListView& List() { return window.PointList(); }

  ScriptedPrompter prompts;
  ScopedPrompter usePrompts{prompts};
  TempDirectory dir;
  MemoryBackupFolder backups;  // the saves' backups, kept out of the user's folder
  MainDialog window{""};
};

// Fills the point edit dialog's controls when it opens and presses OK (then Cancel, so a
// refused OK cannot leave the dialog open).
struct PointTyping {
  std::string name, nickname, location, phone, longitude, latitude, iconNumber;
  int voiceIndex = -1;  // -1: leave the box as it opened
};
void TypeIntoEditDialog(Dialog& dialog, const PointTyping& typing);
