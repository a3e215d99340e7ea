#include "exchange/point_waypoint.h"

#include <algorithm>
#include <cmath>

#include "exchange/cp932.h"
#include "exchange/utf8.h"
#include "pointfile/point_record.h"
#include "pointfile/shift_jis.h"

namespace {

// Full-width katakana for U+FF61..U+FF9F, in that order.
constexpr char16_t kFullWidthKana[] =
    u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜";

// The half-width katakana U+FF61..U+FF9F are three bytes EF BD A1..EF BE 9F in UTF-8.
char32_t HalfWidthKanaAt(std::string_view text, std::size_t i) {
  if (i + 2 >= text.size() || static_cast<unsigned char>(text[i]) != 0xEF) return 0;
  char32_t c = ((static_cast<unsigned char>(text[i + 1]) & 0x3F) << 6) |
               (static_cast<unsigned char>(text[i + 2]) & 0x3F);
  c |= 0xF000;
  return (c >= 0xFF61 && c <= 0xFF9F) ? c : 0;
}

std::string WidenKana(std::string_view text) {
  if (text.find('\xEF') == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t half = HalfWidthKanaAt(text, i);
    if (!half) {
      out += text[i++];
      continue;
    }
    char32_t full = kFullWidthKana[half - 0xFF61];
    i += 3;
    // A following voiced or semi-voiced mark joins the kana before it where a combined form exists.
    char32_t mark = HalfWidthKanaAt(text, i);
    bool voicable = (full >= u'カ' && full <= u'ト' && full != u'ッ') || (full >= u'ハ' && full <= u'ホ');
    bool semiVoicable = full >= u'ハ' && full <= u'ホ';
    if (mark == 0xFF9E && full == u'ウ') {
      full = u'ヴ';
      i += 3;
    } else if (mark == 0xFF9E && voicable) {
      full += 1;
      i += 3;
    } else if (mark == 0xFF9F && semiVoicable) {
      full += 2;
      i += 3;
    }
    AppendUtf8(out, full);
  }
  return out;
}

// The longest prefix of the Shift_JIS `text` of at most `limit` bytes that ends on a character
// boundary: a cut never leaves half a double-byte character behind.
std::size_t CutAt(std::string_view text, std::size_t limit) {
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t length = IsShiftJisLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i + length > limit) break;
    i += length;
  }
  return std::min(i, text.size());
}

}  // namespace

double DegreesFromUnits(std::uint32_t units) { return units / static_cast<double>(kUnitsPerDegree); }

std::optional<std::uint32_t> UnitsFromDegrees(double degrees) {
  if (!std::isfinite(degrees) || degrees < 0) return std::nullopt;
  double units = std::round(degrees * kUnitsPerDegree);
  if (units > 4294967295.0) return std::nullopt;
  return static_cast<std::uint32_t>(units);
}

LocalStamp StoredStamp(const PointFile& file, int slot) {
  const std::uint32_t date = file.GetDate(slot);
  const std::uint32_t time = file.GetTime(slot);
  return {2000 + static_cast<int>(date >> 16 & 0xFF), static_cast<int>(date >> 8 & 0xFF), static_cast<int>(date & 0xFF),
          static_cast<int>(time >> 16 & 0xFF),        static_cast<int>(time >> 8 & 0xFF), static_cast<int>(time & 0xFF)};
}

Waypoint WaypointFromSlot(const PointFile& file, int slot) {
  Waypoint p;
  p.name = Cp932ToUtf8(file.GetName(slot));
  p.location = Cp932ToUtf8(file.GetLocation(slot));
  p.nickname = Cp932ToUtf8(file.GetNickname(slot));
  p.phone = Cp932ToUtf8(file.GetPhone(slot));
  p.longitude = DegreesFromUnits(file.GetLongitude(slot));
  p.latitude = DegreesFromUnits(file.GetLatitude(slot));
  p.icon = file.GetIcon(slot);
  p.voice = file.GetVoiceCode(slot) >> 5;
  p.stamp = StoredStamp(file, slot);
  p.where = "slot " + std::to_string(slot);
  return p;
}

namespace {

bool IsJisForm(TextField field) { return field == TextField::kName || field == TextField::kLocation; }

// The UTF-8 text as it goes to the converter: full-width kana where the field needs them, and
// no NUL, which would end the field early (and separates fields converted together).
std::string PrepareText(std::string_view utf8, TextField field) {
  std::string text = IsJisForm(field) ? WidenKana(utf8) : std::string(utf8);
  for (char& c : text) {
    if (c == '\0') c = ' ';
  }
  return text;
}

// The converted Shift_JIS text made to fit: control characters as blanks, cut to the field.
std::string FinishText(std::string text, TextField field, TextChanges& changes) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (IsShiftJisLeadByte(c)) {
      ++i;  // the trail byte of a double-byte character may look like anything
    } else if (c < 0x20 || c == 0x7F) {
      text[i] = ' ';
    }
  }
  std::size_t cut = 0;
  if (IsJisForm(field)) {
    // Every character takes two bytes in the storage form, so the field holds 19 characters.
    std::size_t characters = 0;
    while (cut < text.size() && characters < PointRecord::kJisTextLimit / 2) {
      cut += static_cast<unsigned char>(text[cut]) >= 0x80 ? 2 : 1;
      ++characters;
    }
    cut = std::min(cut, text.size());
  } else {
    cut = CutAt(text, field == TextField::kNickname ? PointRecord::kNicknameWriteLimit
                                                    : PointRecord::kPhoneWriteLimit);
  }
  if (cut < text.size()) {
    ++changes.cut;
    text.resize(cut);
  }
  return text;
}

}  // namespace

std::string FitFieldText(std::string_view utf8, TextField field, TextChanges& changes) {
  Cp932Text converted = Utf8ToCp932(PrepareText(utf8, field));
  changes.replaced += converted.replaced;
  changes.folded += converted.folded;
  return FinishText(std::move(converted.text), field, changes);
}

FittedTexts FitWaypointTexts(const Waypoint& point, TextChanges& changes) {
  // In the fields' order, so that the counts of changes come out as one text after another.
  FittedTexts texts;
  texts.name = FitFieldText(point.name, TextField::kName, changes);
  texts.location = FitFieldText(point.location, TextField::kLocation, changes);
  texts.nickname = FitFieldText(point.nickname, TextField::kNickname, changes);
  texts.phone = FitFieldText(point.phone, TextField::kPhone, changes);
  return texts;
}

bool InsertWaypoint(PointFile& file, int slot, const FittedTexts& texts, std::uint32_t longitude,
                    std::uint32_t latitude, const Waypoint& point) {
  if (file.InsertRecord(slot) != 1) return false;
  file.SetName(slot, texts.name);
  file.SetLocation(slot, texts.location);
  file.SetLongitude(slot, longitude);
  file.SetLatitude(slot, latitude);
  if (point.icon) file.SetIcon(slot, *point.icon);
  file.SetNickname(slot, texts.nickname);
  file.SetPhone(slot, texts.phone);
  if (point.voice) file.SetVoiceCode(slot, static_cast<std::uint16_t>(*point.voice << 5));
  if (point.stamp) {
    const LocalStamp& s = *point.stamp;
    file.SetDate(slot, static_cast<std::uint32_t>((s.year - 2000) << 16 | s.month << 8 | s.day));
    file.SetTime(slot, static_cast<std::uint32_t>(s.hour << 16 | s.minute << 8 | s.second));
  }
  file.UpdateChecksum(slot);
  return true;
}
