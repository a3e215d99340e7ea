// Any run of messages any program may post to the helper: each five bytes are a
// sub-command (one byte: the twelve names, or an id none of them has) and an lParam. The
// session must take all of it without a fault, and keep its limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "quorvin/helper_session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  HelperSession session;
  for (std::size_t pos = 0; pos + 5 <= size; pos += 5) {
    std::int32_t lParam;
    std::memcpy(&lParam, data + pos + 1, sizeof lParam);
    const std::optional<MapMessage> subCommand =
        data[pos] < kMapMessageCount ? std::optional(static_cast<MapMessage>(data[pos])) : std::nullopt;
    const SessionEvent event = session.Receive(subCommand, lParam);
    if (event == SessionEvent::kLatitudeRequested) session.SetMarker({lParam & 0xFFFFFF, 0});
    if (event == SessionEvent::kLongitudeRequested) (void)session.Reply(MapMessage::kGetMarkLon);
  }
  if (session.Texts().size() > HelperSession::kMaxTexts) std::abort();
  if (session.SourceName().size() > kMaxTextBytes || session.Layer().size() > kMaxTextBytes) std::abort();
  for (const PlacedText& text : session.Texts()) {
    if (text.latitude > 90 * kArcMillisPerDegree || text.longitude > 180 * kArcMillisPerDegree) std::abort();
  }
  return 0;
}
