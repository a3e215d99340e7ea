// BulkEditDialog: the modal dialog (template 171) that sets the icon and the voice guidance
// of several points at once. Each box starts at "変更しない" (leave unchanged); the icon box
// shows the same pictures as the lists and the edit dialog.
#pragma once

#include <windows.h>

#include "app/point_entry.h"
#include "framework/controls.h"
#include "framework/dialog.h"

class BulkEditDialog : public Dialog {
 public:
  BulkEditDialog(HWND owner, const ImageList& smallIcons);

  // Out, after IDOK: what to set.
  BulkChoice choice;

  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  const ImageList& m_smallIcons;
};
