// Any bytes as the contents of a point file: loading them counts the points as the rules say,
// saving gives back the file's bytes (or the empty image when the signature was wrong), and
// one table operation keeps the table within its slots.
//
// The run stays in memory and allocates nothing of the input's size: the store serves the
// input where libFuzzer keeps it and compares a save against it in place. Only slot 0 and the
// slots an edit touched are shown as text: the getters read one slot each, so one slot the
// fuzzer can reach stands for all 250, and a run costs about as much as a load.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "pointfile/fuzz/fuzz_check.h"
#include "pointfile/fuzz/show_slot.h"
#include "pointfile/point_file.h"

namespace {

const std::string kInputPath = "/fuzz/input.pnt";

// One file, served from the fuzzer's bytes; a save is checked against what the load must
// have kept rather than stored.
class InputFileStore final : public FileStore {
 public:
  void Serve(const std::uint8_t* data, std::size_t size) {
    m_data = data;
    m_size = size;
  }

  FileCause Read(const std::string&, std::uint8_t* buffer, std::size_t capacity,
                 std::size_t& bytesRead) override {
    bytesRead = std::min(capacity, m_size);
    if (bytesRead > 0) std::memcpy(buffer, m_data, bytesRead);
    return FileCause::kNone;
  }

  // The image a load keeps: the input's first 64048 bytes over an empty image, or the empty
  // image alone when the input does not start with the signature.
  FileCause Replace(const std::string&, const std::uint8_t* image, std::size_t size) override {
    static const PointFile empty;
    Require(size == kPointFileLength);
    const std::size_t kept = std::min(m_size, kPointFileLength);
    const std::size_t compared = std::min(kept, kSignatureLength);
    const bool inputIsPointFile = compared == 0 || std::memcmp(m_data, kPointFileSignature, compared) == 0;
    const std::size_t fromInput = inputIsPointFile ? kept : 0;
    Require(fromInput == 0 || std::memcmp(image, m_data, fromInput) == 0);
    Require(std::memcmp(image + fromInput, empty.Image().data() + fromInput, size - fromInput) == 0);
    return FileCause::kNone;
  }

 private:
  const std::uint8_t* m_data = nullptr;
  std::size_t m_size = 0;
};

class SilentSink final : public MessageSink {
 public:
  void ShowMessage(const std::string&) override { ++shown; }
  int shown = 0;
};

void RequireTableHolds(const PointFile& file) {
  Require(file.GetPointCount() >= 0 && file.GetPointCount() <= kSlotCount);
  Require(file.CountPoints() + file.CountStrayPoints() <= kSlotCount);
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
  RequireTableHolds(file);
  for (const int slot : {a, std::min(b, kSlotCount - 1)}) {
    if (file.IsUsed(slot)) ShowSlot(file, slot);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static InputFileStore store;
  static PointFile file;
  SilentSink sink;
  store.Serve(data, size);
  const LoadResult load = file.LoadFile(kInputPath, store, sink);
  Require(load.Code() == 0);  // a file that is there is always read
  Require(sink.shown == (load.Loaded() ? 0 : 1));
  Require(file.GetPointCount() == (file.IsUsed(0) ? file.CountPoints() : 0));
  RequireTableHolds(file);
  ShowSlot(file, 0);

  Require(file.SaveFile(kInputPath, store, sink) == 0);
  EditOnce(file, data, size);
  return 0;
}
