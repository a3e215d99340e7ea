#include "quorvin/editor_link.h"

#include "framework/text_encoding.h"

EditorLink::EditorLink() { m_ids.Register(); }

HWND EditorLink::FindEditorWindow() {
  static const std::wstring title = WidenText(kEditorWindowTitle);
  HWND window = nullptr;
  while ((window = ::FindWindowExW(nullptr, window, nullptr, title.c_str())) != nullptr) {
    if (::GetMenu(window)) return window;
  }
  return nullptr;
}

bool EditorLink::PostReply(std::span<const TextStep> steps) const {
  const HWND editor = FindEditorWindow();
  if (!editor) return false;
  for (const TextStep& step : steps) {
    ::PostMessageW(editor, kHelperReplyMessage, Id(step.subCommand), step.lParam);
  }
  return true;
}

bool EditorLink::PostMarkerNotice() const {
  const HWND editor = FindEditorWindow();
  return editor && ::PostMessageW(editor, kMarkerNoticeMessage, 0, 0);
}
