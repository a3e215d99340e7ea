// Point file images built byte by byte, for tests that must control what a loaded file holds
// (stray points, junk in bytes the editor never interprets, random contents).
#pragma once

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "pointfile/byte_order.h"
#include "pointfile/point_file.h"
#include "pointfile/point_record.h"
#include "pointfile/testing/memory_file_store.h"
#include "pointfile/testing/recording_message_sink.h"

using Image = std::vector<std::uint8_t>;

// What a new PointFile holds: the signature, then zeros.
inline Image EmptyImage() {
  Image image(kPointFileLength, 0);
  std::memcpy(image.data(), kPointFileSignature, kSignatureLength);
  return image;
}

inline std::uint8_t* SlotBytes(Image& image, int slot) {
  return image.data() + kHeaderLength + slot * PointRecord::kEncodedLength;
}

inline const std::uint8_t* SlotBytes(const Image& image, int slot) {
  return image.data() + kHeaderLength + slot * PointRecord::kEncodedLength;
}

inline Image SlotOf(const Image& image, int slot) {
  const std::uint8_t* p = SlotBytes(image, slot);
  return Image(p, p + PointRecord::kEncodedLength);
}

inline Image SlotOf(const PointFile& file, int slot) {
  const std::uint8_t* p = file.Image().data() + kHeaderLength + slot * PointRecord::kEncodedLength;
  return Image(p, p + PointRecord::kEncodedLength);
}

inline Image ImageOf(const PointFile& file) { return Image(file.Image().begin(), file.Image().end()); }

// A used slot whose longitude carries `id`, so a test can follow the point around, and whose
// other bytes (those the editor never interprets included) are all non-zero.
inline void PutPoint(Image& image, int slot, std::uint32_t id) {
  std::uint8_t* p = SlotBytes(image, slot);
  for (std::size_t k = 0; k < PointRecord::kEncodedLength; ++k) {
    p[k] = static_cast<std::uint8_t>(0x80 | ((k + id) & 0x7F));
  }
  PutBigEndian32(p + PointRecord::kInUse, 1);
  PutBigEndian32(p + PointRecord::kLongitude, id);
}

// Points with ids 1..count in slots 0..count-1.
inline Image ImageWithPoints(int count) {
  Image image = EmptyImage();
  for (int slot = 0; slot < count; ++slot) PutPoint(image, slot, static_cast<std::uint32_t>(slot + 1));
  return image;
}

// Random bytes everywhere but the signature; each slot is used with the given chance, and a
// used slot's inUse word is sometimes a value other than 1 (any non-zero value counts).
inline Image RandomImage(std::mt19937& rng, double usedChance) {
  Image image(kPointFileLength);
  std::uniform_int_distribution<int> byte(0, 255);
  for (auto& b : image) b = static_cast<std::uint8_t>(byte(rng));
  std::memcpy(image.data(), kPointFileSignature, kSignatureLength);
  std::bernoulli_distribution used(usedChance);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    std::uint8_t* p = SlotBytes(image, slot);
    if (!used(rng)) {
      PutBigEndian32(p + PointRecord::kInUse, 0);
    } else if (GetBigEndian32(p + PointRecord::kInUse) == 0) {
      PutBigEndian32(p + PointRecord::kInUse, 1);
    }
  }
  return image;
}

inline const char kTestPath[] = "/points/test.pnt";

// A PointFile loaded from `image` (which may be any length), with modified cleared.
inline PointFile Loaded(const Image& image) {
  MemoryFileStore store;
  store.Put(kTestPath, image);
  RecordingMessageSink sink;
  PointFile file;
  file.LoadFile(kTestPath, store, sink);
  return file;
}
