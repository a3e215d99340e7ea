#include "quorvin/editor_link.h"

#include <string>

EditorLink::EditorLink() {
  for (std::size_t i = 0; i < kMapMessageCount; ++i) {
    const std::string name = kMapMessageNames[i];
    m_ids[i] = ::RegisterWindowMessageW(std::wstring(name.begin(), name.end()).c_str());
  }
}

std::optional<MapMessage> EditorLink::SubCommand(WPARAM wParam) const {
  for (std::size_t i = 0; i < kMapMessageCount; ++i) {
    if (m_ids[i] == wParam) return static_cast<MapMessage>(i);
  }
  return std::nullopt;
}

HWND EditorLink::FindEditorWindow() {
  HWND window = nullptr;
  while ((window = ::FindWindowExW(nullptr, window, nullptr, L"Ostrel")) != nullptr) {
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
