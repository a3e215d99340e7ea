// Copy and paste: the selected points to the clipboard as a table that spreadsheets take and
// Paste takes back whole, and points from the clipboard's text (coordinates, map links, that
// table) into the open file, through the one way in for new points.
#include <optional>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "framework/clipboard.h"
#include "framework/prompts.h"
#include "import/clipboard_points.h"

void MainDialog::OnCopy() {
  const std::vector<int> selected = m_pointList.SelectedRows();
  if (selected.empty()) return;
  const std::string text = CopiedPointsText(m_pointFile, selected, m_datumSetting.Load() == ExchangeDatum::kTokyo);
  if (!WriteClipboardText(m_hwnd, text)) {
    Prompts().ShowMessage(m_hwnd, "クリップボードが他のプログラムに使われているため、コピーできませんでした。");
  }
}

void MainDialog::OnPaste() {
  const std::optional<std::string> text = ReadClipboardText(m_hwnd);
  if (!text) {
    Prompts().ShowMessage(m_hwnd, "クリップボードに文字がありません。何も追加しませんでした。");
    return;
  }
  PastePoints(*text);
}

void MainDialog::PastePoints(std::string_view text) {
  PointFile pasted;
  const ForeignRead read = ReadPastedPoints(text, m_datumSetting.Load() == ExchangeDatum::kTokyo, pasted);
  if (read.loaded) {
    const std::vector<int> selected = m_pointList.SelectedRows();
    const int slot = selected.empty() ? m_pointFile.GetPointCount() : selected.back() + 1;
    InsertPoints([&](PointFile& file, int maxPoints) { return InsertPastedPoints(file, slot, pasted, maxPoints); },
                 NewRows::kSelectAndFocus);
  }
  // What was left out, or why nothing went in.
  if (!read.message.empty()) Prompts().ShowMessage(m_hwnd, read.message);
}
