// Layout of a point file: a 48-byte header and 250 slots of 256 bytes. Offsets within a
// slot are those of PointRecord; multi-byte numbers are big-endian (byte_order.h).
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr char kPointFileSignature[] = "Clarion Point Data Format";
inline constexpr std::size_t kSignatureLength = 25;  // the terminating zero is not compared
inline constexpr std::size_t kHeaderLength = 48;
inline constexpr int kSlotCount = 250;

struct PointRecord {
  static constexpr std::size_t kEncodedLength = 256;

  static constexpr std::size_t kInUse = 0;        // u32, non-zero: the slot holds a point
  static constexpr std::size_t kLongitude = 4;    // u32, 1/2048 arc-second
  static constexpr std::size_t kLatitude = 8;     // u32, 1/2048 arc-second
  static constexpr std::size_t kName = 12;        // 40 bytes, two-byte JIS form
  static constexpr std::size_t kLocation = 52;    // 40 bytes, two-byte JIS form
  static constexpr std::size_t kNickname = 92;    // 32 bytes, Shift_JIS
  static constexpr std::size_t kPhone = 124;      // 25 bytes
  static constexpr std::size_t kIcon = 149;       // u8
  static constexpr std::size_t kFlagWord = 150;   // u16
  static constexpr std::size_t kHour = 152;
  static constexpr std::size_t kMinute = 153;
  static constexpr std::size_t kSecond = 154;
  static constexpr std::size_t kYear = 155;       // year - 2000
  static constexpr std::size_t kMonth = 156;
  static constexpr std::size_t kDay = 157;
  static constexpr std::size_t kChecksum = 160;   // u32, sum of the words at 4..159

  static constexpr std::size_t kJisFieldLength = 40;
  static constexpr std::size_t kJisTextLimit = 38;        // bytes of text before the two zeros
  static constexpr std::size_t kNicknameReadLimit = 30;
  static constexpr std::size_t kNicknameWriteLimit = 28;
  static constexpr std::size_t kPhoneFieldLength = 25;
  static constexpr std::size_t kPhoneWriteLimit = 12;
  static constexpr std::size_t kChecksumFirst = 4;
  static constexpr std::size_t kChecksumWords = 39;       // bytes 4..159

  static constexpr std::uint16_t kFlagCreated = 0x8000;
  static constexpr std::uint16_t kFlagNickname = 0x4000;
  static constexpr std::uint16_t kFlagPhone = 0x2000;
  static constexpr std::uint16_t kVoiceMask = 0x03E0;
};

inline constexpr std::size_t kPointFileLength =
    kHeaderLength + kSlotCount * PointRecord::kEncodedLength;  // 64048
static_assert(kPointFileLength == 64048);

// Units of a stored coordinate.
inline constexpr std::uint32_t kUnitsPerSecond = 2048;
inline constexpr std::uint32_t kUnitsPerDegree = 2048 * 3600;
