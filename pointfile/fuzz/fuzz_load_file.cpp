// Any bytes as the contents of a point file: loading them, showing every used slot as the
// lists do, saving, and one table operation must stay within the image, and loading then
// saving gives back the file's bytes (or the empty image when the signature was wrong).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "pointfile/fuzz/fuzz_check.h"
#include "pointfile/point_file.h"
#include "pointfile/testing/memory_file_store.h"
#include "pointfile/testing/recording_message_sink.h"

namespace {

const char kInput[] = "/fuzz/input.pnt";
const char kOutput[] = "/fuzz/output.pnt";

void ShowEverySlot(const PointFile& file) {
  for (int i = 0; i < kSlotCount; ++i) {
    if (!file.IsUsed(i)) continue;
    Require(file.GetInUse(i) != 0);
    Require(file.GetName(i).size() <= 40 && file.GetLocation(i).size() <= 40);
    Require(file.GetNickname(i).size() <= 30 && file.GetPhone(i).size() <= 25);
    Require(file.GetLongitudeText(i).size() == 13 && file.GetLatitudeText(i).size() == 13);
    Require(file.GetIconText(i).size() <= 3 && file.GetIcon(i) == (file.GetIcon(i) & 0xFF));
    Require(!file.GetDateText(i).empty() && !file.GetTimeText(i).empty());
    Require((file.GetVoiceCode(i) & ~PointRecord::kVoiceMask) == 0);
    (void)file.GetFlagWord(i);
    (void)(file.GetChecksum(i) == file.ComputeChecksum(i));
  }
}

MemoryFileStore::Bytes ExpectedImage(const std::uint8_t* data, std::size_t size) {
  MemoryFileStore::Bytes image(kPointFileLength, 0);
  std::memcpy(image.data(), kPointFileSignature, kSignatureLength);
  std::copy_n(data, std::min(size, kPointFileLength), image.begin());
  if (std::memcmp(image.data(), kPointFileSignature, kSignatureLength) != 0) {
    std::fill(image.begin(), image.end(), 0);
    std::memcpy(image.data(), kPointFileSignature, kSignatureLength);
  }
  return image;
}

// The last three bytes of the input pick one insert, delete or move.
void EditOnce(PointFile& file, const std::uint8_t* data, std::size_t size) {
  if (size < 3) return;
  const int a = data[size - 2] % kSlotCount;
  const int b = data[size - 1] % (kSlotCount + 1);
  switch (data[size - 3] % 3) {
    case 0: file.InsertRecord(b); break;
    case 1: file.DeleteRecord(a); break;
    default: file.MoveRecord(b, a); break;
  }
  Require(file.GetPointCount() >= 0 && file.GetPointCount() <= kSlotCount);
  ShowEverySlot(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemoryFileStore store;
  store.Put(kInput, MemoryFileStore::Bytes(data, data + size));
  RecordingMessageSink sink;
  PointFile file;
  Require(file.LoadFile(kInput, store, sink).Code() == 0);  // a file that is there is always read
  Require(file.GetPointCount() == (file.IsUsed(0) ? file.CountPoints() : 0));
  Require(file.CountPoints() + file.CountStrayPoints() <= kSlotCount);
  ShowEverySlot(file);

  Require(file.SaveFile(kOutput, store, sink) == 0);
  Require(store.Contents(kOutput) == ExpectedImage(data, size));

  EditOnce(file, data, size);
  return 0;
}
