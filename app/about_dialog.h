// The about box (template 100): the program's icon, name and version, and OK.
#pragma once

#include "framework/dialog.h"
#include "resources/resource.h"

class AboutDialog : public Dialog {
 public:
  explicit AboutDialog(HWND parent) : Dialog(IDD_ABOUTBOX, parent) {}
};
