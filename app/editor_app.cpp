#include "app/editor_app.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "framework/prompts.h"
#include "framework/text_encoding.h"
#include "app/main_dialog.h"
#include "resources/resource.h"

std::string CommandLineText(const wchar_t* commandLine, std::string* refusal) {
  if (!commandLine) return {};
  std::optional<std::string> text = NarrowExactly(commandLine);
  if (text) return *text;
  if (refusal) *refusal = UnrepresentablePathText(commandLine);
  return {};
}

int EditorApp::InitInstance(const wchar_t* commandLine) {
  // OLE must be up before any window that may host OLE objects exists.
  if (FAILED(::OleInitialize(nullptr))) {
    Prompts().ShowMessage(nullptr, LoadResourceString(IDS_OLE_INIT_FAILED));
    return 0;
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES};
  ::InitCommonControlsEx(&controls);

  std::string refusal;
  const std::string text = CommandLineText(commandLine, &refusal);
  if (!refusal.empty()) Prompts().ShowMessage(nullptr, refusal);
  {
    MainDialog dialog(text);
    dialog.DoModal();
  }
  ::OleUninitialize();
  return 0;
}
