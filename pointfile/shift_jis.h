// Shift_JIS (code page 932), the encoding of every text of the program, its paths included.
#pragma once

// True when byte `c` starts a double-byte character. The byte after a lead byte may be anything
// from 0x40 up, '\' and ASCII letters included, so Shift_JIS text is walked character by
// character, never searched byte-wise.
constexpr bool IsShiftJisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
