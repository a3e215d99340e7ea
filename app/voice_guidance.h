// The voice-guidance choices of a point: what the edit dialog's voice box lists, and the
// value each choice stores in the voice bits (0x3E0) of the point's flag word.
#pragma once

#include <array>
#include <cstdint>

struct VoiceGuidanceEntry {
  const char* label;   // Shift_JIS
  std::uint16_t code;  // flag word bits 5-9, in place
};

inline constexpr int kVoiceGuidanceCount = 17;

// In the order the voice box shows them. "No voice" comes first although its code is the
// highest: it is the choice shown for a code the table does not know.
extern const std::array<VoiceGuidanceEntry, kVoiceGuidanceCount> VoiceGuidanceTable;

// The first entry whose code has the same voice bits as `code`; 0 ("no voice") when none has.
int VoiceIndexForCode(std::uint16_t code);
