// PointFile: the in-memory image of one point file, byte for byte as on disk, with its
// point count and modified flag. Every read and change of point data goes through here.
//
// Slots are addressed by their 0-based number, which is also their row in the lists.
// Operations trust the slot number (0..249) they are given.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "pointfile/file_store.h"
#include "pointfile/message_sink.h"
#include "pointfile/point_record.h"

// What a load found.
enum class LoadOutcome {
  kLoaded,            // a point file, now in the image
  kNotPointFile,      // read, but its signature did not match: the image was emptied
  kRefusedExtension,  // not a .pnt name: nothing was read
  kReadFailed,        // opening or reading failed (`cause` says why)
};

struct LoadResult {
  LoadOutcome outcome = LoadOutcome::kLoaded;
  FileCause cause = FileCause::kNone;
  bool Loaded() const { return outcome == LoadOutcome::kLoaded; }
  // What the editor's callers see: 0 when the file was read, a point file or not; -1 when it
  // was refused or could not be read.
  int Code() const { return outcome == LoadOutcome::kLoaded || outcome == LoadOutcome::kNotPointFile ? 0 : -1; }
};

class PointFile {
 public:
  PointFile();  // empty: the signature and nothing else

  // --- State and counting ---------------------------------------------------------------
  void Reset();  // image cleared to the signature, pointCount 0; modified untouched
  // Consecutive used slots from slot 0.
  int CountPoints() const;
  bool IsUsed(int i) const;
  std::uint32_t GetInUse(int i) const;
  int GetPointCount() const { return m_pointCount; }
  bool IsModified() const { return m_modified; }
  void SetModified(bool modified) { m_modified = modified; }
  // Used slots that lie after the first empty one. A file we write never has them; a
  // loaded one may. They are listed and kept, and only DeleteRecord on them touches them.
  int CountStrayPoints() const;

  // --- Fields (texts are Shift_JIS) ------------------------------------------------------
  // The text getters come twice: returning a new string, and writing into one the caller
  // keeps (a list row buffer), which then allocates only when it has to grow.
  void SetInUse(int i);
  std::string GetName(int i) const;
  void GetName(int i, std::string& out) const;
  void SetName(int i, std::string_view text);
  std::string GetLocation(int i) const;
  void GetLocation(int i, std::string& out) const;
  void SetLocation(int i, std::string_view text);
  std::string GetNickname(int i) const;
  void GetNickname(int i, std::string& out) const;
  void SetNickname(int i, std::string_view text);
  std::string GetPhone(int i) const;
  void GetPhone(int i, std::string& out) const;
  void SetPhone(int i, std::string_view text);
  int GetIcon(int i) const;
  std::string GetIconText(int i) const;  // "%02d"
  void SetIcon(int i, int n);
  void SetIconText(int i, std::string_view text);
  std::uint16_t GetVoiceCode(int i) const;  // flagWord & 0x03E0, left in place
  void SetVoiceCode(int i, std::uint16_t v);
  std::uint16_t GetFlagWord(int i) const;
  // Dates and times packed as CurrentDate and CurrentTime give them.
  std::uint32_t GetTime(int i) const;
  std::string GetTimeText(int i) const;
  void SetTime(int i, std::uint32_t packed);  // does not set modified
  std::uint32_t GetDate(int i) const;
  std::string GetDateText(int i) const;
  void SetDate(int i, std::uint32_t packed);  // does not set modified
  std::uint32_t GetLongitude(int i) const;
  std::uint32_t GetLatitude(int i) const;
  void SetLongitude(int i, std::uint32_t value);
  void SetLatitude(int i, std::uint32_t value);
  std::string GetLongitudeText(int i) const;
  void SetLongitudeText(int i, std::string_view text);
  std::string GetLatitudeText(int i) const;
  void SetLatitudeText(int i, std::string_view text);
  std::uint32_t GetChecksum(int i) const;
  std::uint32_t ComputeChecksum(int i) const;
  void UpdateChecksum(int i);  // does not set modified

  // --- Whole slots -----------------------------------------------------------------------
  void InitRecord(int i);
  // Opens a fresh point at slot i, moving the points from i on one slot down. -1 when the
  // table is full, i is out of range, or slot i holds a point outside the leading run
  // (it would be overwritten); 1 otherwise.
  int InsertRecord(int i);
  // Removes the point in slot i. Within the leading run the later points move up; a point
  // outside it is cleared in place and nothing else moves.
  void DeleteRecord(int i);
  void CopyRecord(int dst, int src);
  // Gives slot dst what the point in slot src of `source` is: its name, location, longitude,
  // latitude, icon, nickname and phone, each exactly as stored (no text or coordinate form
  // in between, so nothing is cut or rounded). The voice code, date, time and created flag
  // of slot dst stay; its nickname and phone flags follow the copied texts. The checksum is
  // left to UpdateChecksum.
  void CopyPointFrom(int dst, const PointFile& source, int src);
  // Moves the point in slot src so that it comes just before the point that was in slot dst
  // (dst may equal the point count: last). The slots in between rotate, so this works with
  // all 250 slots full. Both slots must lie in the leading run, else nothing happens.
  // Returns the slot the point ends in, or -1 when nothing moved.
  int MoveRecord(int dst, int src);
  // Slot k receives, byte for byte, what slot sources[k] held (sources: a permutation of the
  // slot numbers 0..kSlotCount-1 that takes used slots to used slots, so the count stays).
  // Sets modified when anything moved.
  void ReorderSlots(std::span<const int> sources);

  // --- Load and save ---------------------------------------------------------------------
  // Reads the file into the image. Whatever is not a point file leaves the image empty, as
  // after Reset; every failure and refusal is reported through `sink`.
  LoadResult LoadFile(const std::string& path, FileStore& store, MessageSink& sink);
  // Takes the bytes of a point file read some other way (a backup) as LoadFile takes a file's:
  // the first 64048 bytes, a shorter image padded as after Reset. Whatever is not a point file
  // leaves the image empty and gives false. `modified` is cleared, as after a load.
  bool LoadBytes(const std::uint8_t* data, std::size_t size);
  // Writes the image, safely. 0 when written, -1 when not (reported through `sink`).
  int SaveFile(const std::string& path, FileStore& store, MessageSink& sink) const;
  // SaveFile, then clears `modified` when it succeeded.
  int SavePoints(const std::string& path, FileStore& store, MessageSink& sink);

  // The whole image, for saving and for tools that examine it.
  const std::array<std::uint8_t, kPointFileLength>& Image() const { return m_image; }

 private:
  std::uint8_t* Slot(int i) { return m_image.data() + kHeaderLength + i * PointRecord::kEncodedLength; }
  const std::uint8_t* Slot(int i) const {
    return m_image.data() + kHeaderLength + i * PointRecord::kEncodedLength;
  }
  void SetFlagBit(int i, std::uint16_t bit, bool on);
  // What every load does once the bytes are in the image: count, check the signature.
  bool AdoptLoadedImage();

  std::array<std::uint8_t, kPointFileLength> m_image{};
  int m_pointCount = 0;
  bool m_modified = false;
};

// True when the last component of the Shift_JIS `path` ends in ".pnt", in any case: the only
// files the editor loads and the unit reads.
bool HasPointFileExtension(std::string_view path);
// The last component of a Shift_JIS path (after the last '\\', '/' or ':').
std::string_view LastPathComponent(std::string_view path);
// "\"path\"\n\n" followed by the text of the cause, shown through `sink`.
void ShowFileError(FileCause cause, const std::string& path, MessageSink& sink);
// The text of one cause code ("原因不明です" for codes outside 0..14).
std::string FileCauseText(int cause);
// "%s\n    は認識できないファイルです" with the path.
std::string UnrecognisedFileText(const std::string& path);
