#include "framework/dropped_files.h"

#include "framework/text_encoding.h"
#include "pointfile/message_sink.h"

std::optional<std::string> TakeLastDroppedFile(HDROP drop, MessageSink& sink) {
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  std::wstring last;
  if (count > 0) {
    // Asked with no buffer, the query gives the length without the terminating NUL.
    const UINT length = ::DragQueryFileW(drop, count - 1, nullptr, 0);
    last.assign(length + 1, L'\0');
    ::DragQueryFileW(drop, count - 1, last.data(), length + 1);
    last.resize(length);
  }
  ::DragFinish(drop);
  if (count == 0) return std::nullopt;
  std::optional<std::string> path = NarrowExactly(last);
  if (!path) sink.ShowMessage(UnrepresentablePathText(last));
  return path;
}
