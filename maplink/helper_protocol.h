// The map-link protocol between the editor and its map helper, in the part that needs no
// window: the names both sides register, the fixed message numbers, how a text travels as a
// run of messages and is put together again, and the helper's form of a coordinate.
//
// Everything here is shared by the editor (maplink/) and the helper program (quorvin/), so
// the two sides cannot drift apart. Window messages are described as (sub-command, lParam)
// steps; each side turns them into posted messages with its own registered ids.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How the two programs find each other: the helper is "Quorvin2.exe" beside the editor and
// owns a top-level window titled "Quorvin"; the editor's main window is titled "Ostrel" (its
// message boxes share that caption, so the helper looks for the one that has a menu). Any
// program put in the helper's place relies on these, as on the map-object key the editor
// keeps the names of the map programs under: SOFTWARE\Brannock\ and the key word.
inline constexpr char kHelperFileName[] = "Quorvin2.exe";
inline constexpr char kHelperWindowTitle[] = "Quorvin";
inline constexpr char kEditorWindowTitle[] = "Ostrel";
inline constexpr char kMapObjectKeyParent[] = "SOFTWARE\\Brannock\\";
inline constexpr char kMapObjectKeyWord[] = "Merlow";

// The registered names, in the order both sides register them. The helper and any program
// put in its place know them by name only; the ids differ from session to session.
enum class MapMessage : int {
  kQuorvin,      // the window message that carries every sub-command to the helper
  kAddTextEx,    // place one labelled text: "latitude,longitude,name"
  kLayerName,    // registered, never sent
  kTextStart,    // both ways: a text begins
  kTextChar,     // both ways: one character of the current text
  kTextEnd,      // registered, never sent
  kGetMarkLat,   // request the marker's latitude; in a reply, the latitude is complete
  kGetMarkLon,   // request the marker's longitude; in a reply, the longitude is complete
  kSetLayer,     // the layer number
  kDeleteText,   // remove the texts the editor placed
  kObjectName,   // the map-object name (automation ProgID of the map program)
  kInitMap,      // the last step of starting the helper
};
inline constexpr std::size_t kMapMessageCount = 12;
inline constexpr std::array<const char*, kMapMessageCount> kMapMessageNames = {
    "WM_QUORVIN",       "SUB_ADD_TEXT_EX",  "SUB_LAYER_NAME",  "SUB_TEXT_START",
    "SUB_TEXT_CHAR",    "SUB_TEXT_END",     "SUB_GET_MARK_LAT", "SUB_GET_MARK_LON",
    "SUB_SET_LAYER",    "SUB_DELETE_TEXT",  "SUB_OBJECT_NAME", "SUB_INIT_MAP",
};

// The two messages the helper posts to the editor's main window. They are plain numbers in
// the WM_USER range (0x0400-0x7FFF), not registered names: every helper ever written posts
// exactly these, so they can never move.
inline constexpr unsigned kMarkerNoticeMessage = 0x0800;  // a marker position can be read
inline constexpr unsigned kHelperReplyMessage = 0x0801;   // one step of a reply text

// The longest text either side sends or keeps; longer texts are cut at this many bytes.
inline constexpr std::size_t kMaxTextBytes = 1023;

// One posted message of a text: the sub-command that goes in wParam (as its registered id)
// and the lParam.
struct TextStep {
  MapMessage subCommand;
  std::int32_t lParam;
  bool operator==(const TextStep&) const = default;
};

// A text command from the editor to the helper: "SUB_TEXT_START", one "SUB_TEXT_CHAR" per
// character, then the command itself. An ASCII byte travels as its code; a byte of 0x80-0xFF
// starts a two-byte character that travels as one step, (lead * 256 + trail) taken as a signed
// 16-bit value ("東" is 0xFFFF938C). A lead byte with nothing after it is not sent. At most
// kMaxTextBytes bytes of the text travel.
std::vector<TextStep> EncodeTextCommand(MapMessage command, std::string_view text);

// A reply from the helper to the editor: "SUB_TEXT_START", one "SUB_TEXT_CHAR" per byte (the
// byte in the low 8 bits), then the request it answers. At most kMaxTextBytes bytes travel.
std::vector<TextStep> EncodeReply(MapMessage request, std::string_view text);

// Puts a text together from its steps, on either side. A text that keeps growing (a program
// that posts characters without end) stops at kMaxTextBytes; later characters are dropped.
class TextAssembler {
 public:
  void Start() { m_text.clear(); }
  // A character of a text command: one byte, or two for an lParam outside 0-255.
  void AppendCharacter(std::int32_t lParam);
  // A byte of a reply: the low 8 bits of lParam.
  void AppendByte(std::int32_t lParam);
  const std::string& Text() const { return m_text; }

 private:
  void Append(char byte);
  std::string m_text;
};

// The helper's form of a coordinate: the DMS text's degrees and minutes, then seconds and
// thousandths as one five-digit number: " 35/39/29.123" is " 35/39/29123".
std::string ToHelperCoordinate(std::string_view dmsText);
// A reply back to a coordinate text the DMS parser reads: every "/" becomes "." and a "."
// goes in before the last three digits: "35/39/29123" is "35.39.29.123". Without any "/" the
// "." goes after the second character ("1234" is "12.34"); an empty reply gives ".".
std::string FromHelperCoordinate(std::string_view replyText);
// The fields of a coordinate in the helper's form: blanks, one to three digits of degrees,
// "/", one or two digits of minutes, "/", one to five digits of seconds and thousandths.
// Nothing for any other text. The fields' ranges are the reader's to judge.
struct HelperCoordinateFields {
  int degrees;
  int minutes;
  int secondThousandths;
};
std::optional<HelperCoordinateFields> ReadHelperCoordinate(std::string_view text);
// Whether a reply is a coordinate in the helper's form with at most 180 degrees. An empty
// reply, an error text or a number no map shows is not one.
bool IsHelperCoordinate(std::string_view replyText);
