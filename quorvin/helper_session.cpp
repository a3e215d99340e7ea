#include "quorvin/helper_session.h"

#include <cmath>
#include <cstdio>

std::optional<ArcMillis> ParseHelperCoordinate(std::string_view text, int maxDegrees) {
  const std::optional<HelperCoordinateFields> fields = ReadHelperCoordinate(text);
  if (!fields || fields->minutes >= 60 || fields->secondThousandths >= 60000) return std::nullopt;
  // Three digits of degrees reach past 32 bits in thousandths of an arc-second.
  const long long value = fields->degrees * static_cast<long long>(kArcMillisPerDegree) + fields->minutes * 60000 +
                          fields->secondThousandths;
  if (value > maxDegrees * static_cast<long long>(kArcMillisPerDegree)) return std::nullopt;
  return static_cast<ArcMillis>(value);
}

std::string FormatHelperCoordinate(ArcMillis value) {
  char text[32];
  std::snprintf(text, sizeof text, "%3d/%02d/%05d", value / kArcMillisPerDegree, value / 60000 % 60,
                value % 60000);
  return text;
}

ArcMillis RoundToArcMillis(double degrees) {
  return static_cast<ArcMillis>(std::llround(degrees * kArcMillisPerDegree));
}

std::optional<PlacedText> ParsePlacedText(std::string_view text) {
  const std::size_t first = text.find(',');
  if (first == std::string_view::npos) return std::nullopt;
  const std::size_t second = text.find(',', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  const std::optional<ArcMillis> latitude = ParseHelperCoordinate(text.substr(0, first), 90);
  const std::optional<ArcMillis> longitude =
      ParseHelperCoordinate(text.substr(first + 1, second - first - 1), 180);
  if (!latitude || !longitude) return std::nullopt;
  return PlacedText{*latitude, *longitude, std::string(text.substr(second + 1))};
}

SessionEvent HelperSession::Ignore() {
  ++m_ignored;
  return SessionEvent::kIgnored;
}

SessionEvent HelperSession::Receive(std::optional<MapMessage> subCommand, std::int32_t lParam) {
  if (!subCommand) return Ignore();
  if (*subCommand == MapMessage::kTextStart) {
    m_text.Start();
    return SessionEvent::kNone;
  }
  if (*subCommand == MapMessage::kTextChar) {
    m_text.AppendCharacter(lParam);
    return SessionEvent::kNone;
  }
  // A command ends its text: a command that comes without a text of its own must not act
  // on the previous one's.
  const std::string text = m_text.Text();
  m_text.Start();
  switch (*subCommand) {
    case MapMessage::kSetLayer:
      m_layer = text;
      return SessionEvent::kLayerSet;
    case MapMessage::kObjectName:
      m_sourceName = text;
      return SessionEvent::kSourceSet;
    case MapMessage::kInitMap:
      m_mapInitialised = true;
      return SessionEvent::kMapInitialised;
    case MapMessage::kDeleteText:
      m_texts.clear();
      return SessionEvent::kTextsChanged;
    case MapMessage::kAddTextEx: {
      std::optional<PlacedText> placed = ParsePlacedText(text);
      if (!placed || m_texts.size() >= kMaxTexts) return Ignore();
      m_texts.push_back(std::move(*placed));
      return SessionEvent::kTextsChanged;
    }
    case MapMessage::kGetMarkLat:
      return SessionEvent::kLatitudeRequested;
    case MapMessage::kGetMarkLon:
      return SessionEvent::kLongitudeRequested;
    default:
      // "WM_QUORVIN" itself, or a name that is registered but never sent.
      return Ignore();
  }
}

std::vector<TextStep> HelperSession::Reply(MapMessage request) const {
  if (!m_marker) return {};
  const ArcMillis value = request == MapMessage::kGetMarkLat ? m_marker->latitude : m_marker->longitude;
  return EncodeReply(request, FormatHelperCoordinate(value));
}
