// The slowest point file to show: all 250 slots used, long names and every text field
// filled. Benchmarks load it from memory, so the disk does not count.
#pragma once

#include <cstdint>
#include <string>

#include "pointfile/point_file.h"
#include "pointfile/testing/memory_file_store.h"

inline MemoryFileStore::Bytes FullPointFileBytes() {
  PointFile file;
  for (int i = 0; i < kSlotCount; ++i) {
    file.InsertRecord(i);
    file.SetName(i, "東京都庁第一本庁舎展望室北側" + std::to_string(i % 100));
    file.SetLocation(i, "東京都新宿区西新宿二丁目８番１号");
    file.SetNickname(i, "都庁ABCDEFGHIJKLMNOPQRST");
    file.SetPhone(i, "03-5321-1111");
    file.SetIcon(i, 1 + i % 55);
    file.SetLongitude(i, 1030284288u + static_cast<std::uint32_t>(i) * 7919u);
    file.SetLatitude(i, 262899964u + static_cast<std::uint32_t>(i) * 104729u);
    file.UpdateChecksum(i);
  }
  return MemoryFileStore::Bytes(file.Image().begin(), file.Image().end());
}

// A sink for benchmarks, where nothing goes wrong and nothing may be shown.
class SilentSink : public MessageSink {
 public:
  void ShowMessage(const std::string&) override {}
};
