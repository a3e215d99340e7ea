// The backup folder on Windows: %LOCALAPPDATA%\Ostrel\Backups, created on the first backup.
// The folder's path is kept in UTF-16, since a user's profile folder may hold characters code
// page 932 does not; the backups' own names are the core's (Shift_JIS, always convertible).
#pragma once

#include <string>
#include <vector>

#include "framework/win32_file_store.h"
#include "pointfile/backup_folder.h"

class Win32BackupFolder final : public BackupFolder {
 public:
  // `directory` without a trailing separator; empty when there is none (every write then fails).
  explicit Win32BackupFolder(std::wstring directory) : m_directory(std::move(directory)) {}

  FileCause List(std::vector<std::string>& names) override;
  FileCause Write(const std::string& name, const std::uint8_t* data, std::size_t size) override;
  FileCause Read(const std::string& name, std::uint8_t* buffer, std::size_t capacity,
                 std::size_t& bytesRead) override;
  FileCause Remove(const std::string& name) override;

  const std::wstring& Directory() const { return m_directory; }

 private:
  std::wstring PathOf(const std::string& name) const;
  // Creates the folder and any missing folder above it.
  FileCause CreateFolder(const std::wstring& directory);

  std::wstring m_directory;
  Win32FileStore m_store;
};

// %LOCALAPPDATA%\Ostrel\Backups, or empty when the system names no local application data folder.
std::wstring DefaultBackupDirectory();
