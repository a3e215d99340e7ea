#include "app/voice_guidance.h"

#include "pointfile/point_record.h"

const std::array<VoiceGuidanceEntry, kVoiceGuidanceCount> VoiceGuidanceTable = {{
    {"音声無し", 0x3E0},
    {"ファンファーレ", 0x000},
    {"チャイム", 0x020},
    {"サイレン", 0x040},
    {"アラーム", 0x060},
    {"怪獣", 0x080},
    {"まもなく登録地点です", 0x0A0},
    {"まもなく予定の地点です", 0x0C0},
    {"まもなく集合地点です", 0x0E0},
    {"まもなく設定ポイントです", 0x100},
    {"まもなく休憩地点です", 0x120},
    {"まもなくミステリー地点です", 0x140},
    {"まもなく秘密の地点です", 0x160},
    {"まもなく友人宅です", 0x180},
    {"まもなく恋人宅です", 0x1A0},
    {"まもなくおすすめ地点です", 0x1C0},
    {"まもなく危険地点です", 0x1E0},
}};

int VoiceIndexForCode(std::uint16_t code) {
  const std::uint16_t voice = code & PointRecord::kVoiceMask;
  for (int i = 0; i < kVoiceGuidanceCount; ++i) {
    if (VoiceGuidanceTable[i].code == voice) return i;
  }
  return 0;
}
