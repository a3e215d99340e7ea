// The helper's side of the map link, in the part that needs no window: the texts it
// assembles from the editor's messages, what each command does to its state, the labelled
// points it shows, and the marker it answers with. The window (quorvin_window.h) turns
// posted messages into Receive() calls and acts on the events.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "maplink/helper_protocol.h"

// Angles travel as thousandths of an arc-second: the helper form's own resolution.
using ArcMillis = std::int32_t;
inline constexpr ArcMillis kArcMillisPerDegree = 3600 * 1000;

// A coordinate in helper form (" 35/39/29123": degrees, "/", minutes, "/", seconds and
// thousandths as one number) as thousandths of an arc-second. Leading blanks are allowed;
// anything else that is not the form, minutes of 60 or more, seconds of 60 or more, or
// more than `maxDegrees`, gives nothing.
std::optional<ArcMillis> ParseHelperCoordinate(std::string_view text, int maxDegrees);
// Thousandths of an arc-second (not negative) in helper form, degrees three characters wide.
std::string FormatHelperCoordinate(ArcMillis value);
// Degrees to the nearest thousandth of an arc-second.
ArcMillis RoundToArcMillis(double degrees);
inline double ArcMillisToDegrees(ArcMillis value) { return value / static_cast<double>(kArcMillisPerDegree); }

struct PlacedText {
  ArcMillis latitude;
  ArcMillis longitude;
  std::string name;  // Shift_JIS, as sent
};

// "latitude,longitude,name" of "SUB_ADD_TEXT_EX". The name may hold commas: only the first
// two split. Nothing when a field is missing or a coordinate is not a valid helper form.
std::optional<PlacedText> ParsePlacedText(std::string_view text);

struct MarkerPosition {
  ArcMillis latitude;
  ArcMillis longitude;
};

// What a received message asks the window to do.
enum class SessionEvent {
  kNone,                // a step of a text, nothing to show yet
  kLayerSet,            // Layer() changed
  kSourceSet,           // SourceName() changed
  kMapInitialised,      // the editor finished its start sequence
  kTextsChanged,        // texts were removed or one was added
  kLatitudeRequested,   // answer with Reply(kGetMarkLat)
  kLongitudeRequested,  // answer with Reply(kGetMarkLon)
  kIgnored,             // not understood; IgnoredCount() went up
};

class HelperSession {
 public:
  // More texts than a point file holds, by far; later ones are ignored.
  static constexpr std::size_t kMaxTexts = 1000;

  // One "WM_QUORVIN" message: its sub-command (nothing when wParam is none of the
  // registered ids) and its lParam.
  SessionEvent Receive(std::optional<MapMessage> subCommand, std::int32_t lParam);

  const std::vector<PlacedText>& Texts() const { return m_texts; }
  const std::string& Layer() const { return m_layer; }
  const std::string& SourceName() const { return m_sourceName; }
  bool MapInitialised() const { return m_mapInitialised; }
  // Messages that were not understood, since the start.
  std::size_t IgnoredCount() const { return m_ignored; }

  // The marker, in the datum the helper exchanges coordinates in.
  void SetMarker(MarkerPosition marker) { m_marker = marker; }
  const std::optional<MarkerPosition>& Marker() const { return m_marker; }
  // The reply to a marker request as its steps; nothing without a marker (an answer would
  // read as a position at 0°).
  std::vector<TextStep> Reply(MapMessage request) const;

 private:
  SessionEvent Ignore();
  TextAssembler m_text;
  std::vector<PlacedText> m_texts;
  std::string m_layer;
  std::string m_sourceName;
  bool m_mapInitialised = false;
  std::size_t m_ignored = 0;
  std::optional<MarkerPosition> m_marker;
};
