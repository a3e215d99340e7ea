// Backups of the point files the editor replaces: before a save replaces a file, the file's
// content is kept in the backup folder under a name made of the file's name, a short hash of
// its full path (every unit's card holds a file of the same name, so the name alone does not
// tell them apart) and the time:
//
//   points.1A2B3C4D.20261209-113425.pnt     (a second backup in the same second: ...-113425-2.pnt)
//
// The newest kKeptPerPath backups of each full path are kept. Names that do not read this
// way (a file the user put there, a name cut short) are neither listed nor removed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "pointfile/backup_folder.h"
#include "pointfile/file_store.h"

class PointFile;

struct BackupStamp {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  auto operator<=>(const BackupStamp&) const = default;
};

// The local clock.
BackupStamp LocalBackupStamp();
// "2026/12/09 11:34:25", as the restore list shows it.
std::string BackupStampText(const BackupStamp& stamp);

struct BackupEntry {
  std::string name;  // the file's name in the backup folder
  BackupStamp stamp;
  int sequence = 1;  // 2, 3 ... for more backups in the same second
};

class PointBackups {
 public:
  static constexpr int kKeptPerPath = 20;
  // Files are kept up to this size: a point file is 64048 bytes, and of anything larger the
  // editor reads no more than that.
  static constexpr std::size_t kLargestBackup = 1 << 20;

  explicit PointBackups(BackupFolder& folder) : m_folder(folder) {}

  // Keeps `size` bytes of `data`, the content of the file at `path` about to be replaced, as the
  // newest backup of `path`, then removes the oldest beyond kKeptPerPath. The cause when the
  // backup could not be written (removing old ones never fails the call).
  FileCause Keep(const std::string& path, const std::uint8_t* data, std::size_t size, const BackupStamp& now);
  // Keeps the file at `path`, read through `store`, before a save replaces it. kNone when it
  // was kept or there is none (nothing to replace); otherwise why it could not be read or kept.
  FileCause KeepFileOf(const std::string& path, FileStore& store, const BackupStamp& now);
  // The backups of `path`, newest first.
  std::vector<BackupEntry> List(const std::string& path);
  // Loads a backup into `file` as a point file is loaded. kInvalidFile when it holds no point file.
  FileCause Load(const BackupEntry& entry, PointFile& file);

 private:
  BackupFolder& m_folder;
};

// The part of a backup's name that stands for `path`: "points.1A2B3C4D.".
std::string BackupNamePrefix(const std::string& path);
