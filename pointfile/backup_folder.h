// The folder where the editor keeps backups of the files it replaces. The core names, lists and
// prunes the backups (point_backups.h); the folder only stores files by name:
// framework/win32_backup_folder.h keeps them under the user's local application data,
// pointfile/testing/memory_backup_folder.h in memory for tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "pointfile/file_store.h"

class BackupFolder {
 public:
  virtual ~BackupFolder() = default;

  // The names (Shift_JIS) of the files in the folder, in no order. A folder not created yet holds
  // none. A name the program could not use again (one code page 932 cannot hold) is left out.
  virtual FileCause List(std::vector<std::string>& names) = 0;
  // Creates file `name` with exactly `size` bytes, creating the folder first when it is missing.
  // An existing file of that name is never replaced (kAccessDenied). On failure nothing is left.
  virtual FileCause Write(const std::string& name, const std::uint8_t* data, std::size_t size) = 0;
  // As FileStore::Read, for the file `name` of the folder.
  virtual FileCause Read(const std::string& name, std::uint8_t* buffer, std::size_t capacity,
                         std::size_t& bytesRead) = 0;
  virtual FileCause Remove(const std::string& name) = 0;
};
