#include "pointfile/point_file.h"

#include <algorithm>
#include <cstring>

#include "pointfile/byte_order.h"
#include "pointfile/text_forms.h"

using R = PointRecord;

PointFile::PointFile() { Reset(); }

void PointFile::Reset() {
  m_image.fill(0);
  std::memcpy(m_image.data(), kPointFileSignature, sizeof kPointFileSignature);  // with its zero
  m_pointCount = 0;
}

int PointFile::CountPoints() const {
  int n = 0;
  while (n < kSlotCount && IsUsed(n)) ++n;
  return n;
}

bool PointFile::IsUsed(int i) const { return GetInUse(i) != 0; }

std::uint32_t PointFile::GetInUse(int i) const { return GetBigEndian32(Slot(i) + R::kInUse); }

int PointFile::CountStrayPoints() const {
  int stray = 0;
  for (int i = CountPoints() + 1; i < kSlotCount; ++i) stray += IsUsed(i) ? 1 : 0;
  return stray;
}

void PointFile::SetInUse(int i) {
  PutBigEndian32(Slot(i) + R::kInUse, 1);
  m_modified = true;
}

std::string PointFile::GetName(int i) const {
  return DecodeJisText(Slot(i) + R::kName, R::kJisFieldLength);
}

void PointFile::GetName(int i, std::string& out) const {
  DecodeJisText(Slot(i) + R::kName, R::kJisFieldLength, out);
}

void PointFile::SetName(int i, std::string_view text) {
  CopyFieldText(Slot(i) + R::kName, EncodeJisText(text), R::kJisTextLimit);
  m_modified = true;
}

std::string PointFile::GetLocation(int i) const {
  return DecodeJisText(Slot(i) + R::kLocation, R::kJisFieldLength);
}

void PointFile::GetLocation(int i, std::string& out) const {
  DecodeJisText(Slot(i) + R::kLocation, R::kJisFieldLength, out);
}

void PointFile::SetLocation(int i, std::string_view text) {
  CopyFieldText(Slot(i) + R::kLocation, EncodeJisText(text), R::kJisTextLimit);
  m_modified = true;
}

namespace {

void FieldText(const std::uint8_t* field, std::size_t limit, std::string& out) {
  const auto* end = std::find(field, field + limit, std::uint8_t{0});
  out.assign(reinterpret_cast<const char*>(field), static_cast<std::size_t>(end - field));
}

bool IsEmptyText(std::string_view text) { return text.empty() || text.front() == '\0'; }

}  // namespace

std::string PointFile::GetNickname(int i) const {
  std::string out;
  GetNickname(i, out);
  return out;
}

void PointFile::GetNickname(int i, std::string& out) const {
  FieldText(Slot(i) + R::kNickname, R::kNicknameReadLimit, out);
}

void PointFile::SetNickname(int i, std::string_view text) {
  CopyFieldText(Slot(i) + R::kNickname, text, R::kNicknameWriteLimit);
  SetFlagBit(i, R::kFlagNickname, !IsEmptyText(text));
  m_modified = true;
}

std::string PointFile::GetPhone(int i) const {
  std::string out;
  GetPhone(i, out);
  return out;
}

void PointFile::GetPhone(int i, std::string& out) const {
  FieldText(Slot(i) + R::kPhone, R::kPhoneFieldLength, out);
}

void PointFile::SetPhone(int i, std::string_view text) {
  CopyFieldText(Slot(i) + R::kPhone, text, R::kPhoneWriteLimit);
  SetFlagBit(i, R::kFlagPhone, !IsEmptyText(text));
  m_modified = true;
}

int PointFile::GetIcon(int i) const { return Slot(i)[R::kIcon]; }

std::string PointFile::GetIconText(int i) const {
  const int icon = GetIcon(i);  // "%02d": two digits, three from 100 on
  std::string text;
  if (icon >= 100) text += static_cast<char>('0' + icon / 100);
  text += static_cast<char>('0' + icon / 10 % 10);
  text += static_cast<char>('0' + icon % 10);
  return text;
}

void PointFile::SetIcon(int i, int n) {
  Slot(i)[R::kIcon] = static_cast<std::uint8_t>(n & 0xFF);
  m_modified = true;
}

void PointFile::SetIconText(int i, std::string_view text) {
  unsigned low8 = 0;  // the decimal value modulo 256, kept small as the digits come in
  for (std::size_t pos = 0; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    low8 = (low8 * 10 + static_cast<unsigned>(text[pos] - '0')) & 0xFF;
  }
  SetIcon(i, static_cast<int>(low8));
}

std::uint16_t PointFile::GetFlagWord(int i) const { return GetBigEndian16(Slot(i) + R::kFlagWord); }

std::uint16_t PointFile::GetVoiceCode(int i) const {
  return static_cast<std::uint16_t>(GetFlagWord(i) & R::kVoiceMask);
}

void PointFile::SetVoiceCode(int i, std::uint16_t v) {
  const auto word = static_cast<std::uint16_t>((GetFlagWord(i) & ~R::kVoiceMask) | (v & R::kVoiceMask));
  PutBigEndian16(Slot(i) + R::kFlagWord, word);
  m_modified = true;
}

void PointFile::SetFlagBit(int i, std::uint16_t bit, bool on) {
  const std::uint16_t word = GetFlagWord(i);
  PutBigEndian16(Slot(i) + R::kFlagWord, static_cast<std::uint16_t>(on ? word | bit : word & ~bit));
}

std::uint32_t PointFile::GetTime(int i) const {
  const std::uint8_t* s = Slot(i);
  return std::uint32_t{s[R::kHour]} << 16 | std::uint32_t{s[R::kMinute]} << 8 | s[R::kSecond];
}

std::string PointFile::GetTimeText(int i) const {
  const std::uint8_t* s = Slot(i);
  return FormatTimeText(s[R::kHour], s[R::kMinute], s[R::kSecond]);
}

void PointFile::SetTime(int i, std::uint32_t packed) {
  std::uint8_t* s = Slot(i);
  s[R::kHour] = static_cast<std::uint8_t>(packed >> 16);
  s[R::kMinute] = static_cast<std::uint8_t>(packed >> 8);
  s[R::kSecond] = static_cast<std::uint8_t>(packed);
}

std::uint32_t PointFile::GetDate(int i) const {
  const std::uint8_t* s = Slot(i);
  return std::uint32_t{s[R::kYear]} << 16 | std::uint32_t{s[R::kMonth]} << 8 | s[R::kDay];
}

std::string PointFile::GetDateText(int i) const {
  const std::uint8_t* s = Slot(i);
  return FormatDateText(s[R::kYear], s[R::kMonth], s[R::kDay]);
}

void PointFile::SetDate(int i, std::uint32_t packed) {
  std::uint8_t* s = Slot(i);
  s[R::kYear] = static_cast<std::uint8_t>(packed >> 16);
  s[R::kMonth] = static_cast<std::uint8_t>(packed >> 8);
  s[R::kDay] = static_cast<std::uint8_t>(packed);
}

std::uint32_t PointFile::GetLongitude(int i) const { return GetBigEndian32(Slot(i) + R::kLongitude); }
std::uint32_t PointFile::GetLatitude(int i) const { return GetBigEndian32(Slot(i) + R::kLatitude); }

void PointFile::SetLongitude(int i, std::uint32_t value) {
  PutBigEndian32(Slot(i) + R::kLongitude, value);
  m_modified = true;
}

void PointFile::SetLatitude(int i, std::uint32_t value) {
  PutBigEndian32(Slot(i) + R::kLatitude, value);
  m_modified = true;
}

std::string PointFile::GetLongitudeText(int i) const { return FormatDms(GetLongitude(i)); }
std::string PointFile::GetLatitudeText(int i) const { return FormatDms(GetLatitude(i)); }
void PointFile::SetLongitudeText(int i, std::string_view text) { SetLongitude(i, ParseDms(text)); }
void PointFile::SetLatitudeText(int i, std::string_view text) { SetLatitude(i, ParseDms(text)); }

std::uint32_t PointFile::GetChecksum(int i) const { return GetBigEndian32(Slot(i) + R::kChecksum); }

std::uint32_t PointFile::ComputeChecksum(int i) const {
  std::uint32_t sum = 0;
  const std::uint8_t* word = Slot(i) + R::kChecksumFirst;
  for (std::size_t k = 0; k < R::kChecksumWords; ++k, word += 4) sum += GetBigEndian32(word);
  return sum;
}

void PointFile::UpdateChecksum(int i) { PutBigEndian32(Slot(i) + R::kChecksum, ComputeChecksum(i)); }

void PointFile::InitRecord(int i) {
  std::memset(Slot(i), 0, R::kEncodedLength);
  SetInUse(i);
  PutBigEndian16(Slot(i) + R::kFlagWord, R::kFlagCreated);
  SetIconText(i, "1");
  SetDate(i, CurrentDate());
  SetTime(i, CurrentTime());
}

int PointFile::InsertRecord(int i) {
  const int n = CountPoints();
  if (i < 0 || i >= kSlotCount || n >= kSlotCount) return -1;
  // Past the leading run a used slot is a point of the loaded file that the run does not
  // reach; initialising it would destroy that point.
  if (i > n && IsUsed(i)) return -1;
  for (int k = n; k > i; --k) std::memcpy(Slot(k), Slot(k - 1), R::kEncodedLength);
  InitRecord(i);
  // Filling the last gap before stray points joins them to the run: count them as well.
  m_pointCount = std::max(m_pointCount + 1, CountPoints());
  m_modified = true;
  return 1;
}

void PointFile::DeleteRecord(int i) {
  if (!IsUsed(i)) return;
  const int n = CountPoints();
  if (i < n) {
    std::memmove(Slot(i), Slot(i + 1), static_cast<std::size_t>(n - 1 - i) * R::kEncodedLength);
    std::memset(Slot(n - 1), 0, R::kEncodedLength);
    --m_pointCount;
  } else {
    // A point beyond the leading run goes alone; the count, which covers the run, stays
    // unless it had counted this point too.
    std::memset(Slot(i), 0, R::kEncodedLength);
    m_pointCount = std::max(m_pointCount - 1, CountPoints());
  }
  m_modified = true;
}

void PointFile::CopyRecord(int dst, int src) {
  std::memmove(Slot(dst), Slot(src), R::kEncodedLength);
  m_modified = true;
}

void PointFile::CopyPointFrom(int dst, const PointFile& source, int src) {
  // The seven fields lie together, from the longitude to the icon.
  static_assert(R::kLatitude == R::kLongitude + 4 && R::kName == R::kLatitude + 4 &&
                R::kLocation == R::kName + R::kJisFieldLength && R::kNickname == R::kLocation + R::kJisFieldLength &&
                R::kPhone == R::kNickname + 32 && R::kIcon == R::kPhone + R::kPhoneFieldLength);
  std::memcpy(Slot(dst) + R::kLongitude, source.Slot(src) + R::kLongitude, R::kIcon + 1 - R::kLongitude);
  SetFlagBit(dst, R::kFlagNickname, Slot(dst)[R::kNickname] != 0);
  SetFlagBit(dst, R::kFlagPhone, Slot(dst)[R::kPhone] != 0);
  m_modified = true;
}

void PointFile::ReorderSlots(std::span<const int> sources) {
  const std::array<std::uint8_t, kPointFileLength> before = m_image;
  auto slotOf = [](const std::array<std::uint8_t, kPointFileLength>& image, int i) {
    return image.data() + kHeaderLength + static_cast<std::size_t>(i) * R::kEncodedLength;
  };
  for (int k = 0; k < static_cast<int>(sources.size()) && k < kSlotCount; ++k)
    std::memcpy(Slot(k), slotOf(before, sources[k]), R::kEncodedLength);
  if (m_image != before) m_modified = true;
}

int PointFile::MoveRecord(int dst, int src) {
  const int n = CountPoints();
  if (dst == src || src < 0 || src >= n || dst < 0 || dst > n) return -1;
  // A rotation of the slots in between needs no free slot, so a full table moves too, and
  // every byte of every slot (the empty slot after the run included) stays as it was.
  std::uint8_t* const base = Slot(0);
  auto at = [base](int k) { return base + static_cast<std::size_t>(k) * R::kEncodedLength; };
  int landed;
  if (dst < src) {
    std::rotate(at(dst), at(src), at(src + 1));
    landed = dst;
  } else {
    std::rotate(at(src), at(src + 1), at(dst));
    landed = dst - 1;
  }
  m_modified = true;
  return landed;
}
