// A BackupFolder in memory, for tests: its files can be looked at, odd ones put in, and its
// writes made to fail.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "pointfile/backup_folder.h"

class MemoryBackupFolder : public BackupFolder {
 public:
  using Bytes = std::vector<std::uint8_t>;

  void Put(const std::string& name, Bytes bytes) { m_files[name] = std::move(bytes); }
  const std::map<std::string, Bytes>& Files() const { return m_files; }
  // Every later Write fails with `cause`; kNone makes them work again.
  void FailWritesWith(FileCause cause) { m_writeFailure = cause; }

  FileCause List(std::vector<std::string>& names) override {
    names.clear();
    for (const auto& file : m_files) names.push_back(file.first);
    return FileCause::kNone;
  }
  FileCause Write(const std::string& name, const std::uint8_t* data, std::size_t size) override {
    if (m_writeFailure != FileCause::kNone) return m_writeFailure;
    if (m_files.count(name)) return FileCause::kAccessDenied;
    m_files[name] = Bytes(data, data + size);
    return FileCause::kNone;
  }
  FileCause Read(const std::string& name, std::uint8_t* buffer, std::size_t capacity,
                 std::size_t& bytesRead) override {
    auto it = m_files.find(name);
    if (it == m_files.end()) return FileCause::kFileNotFound;
    bytesRead = std::min(capacity, it->second.size());
    std::copy_n(it->second.begin(), bytesRead, buffer);
    return FileCause::kNone;
  }
  FileCause Remove(const std::string& name) override {
    return m_files.erase(name) ? FileCause::kNone : FileCause::kFileNotFound;
  }

 private:
  std::map<std::string, Bytes> m_files;
  FileCause m_writeFailure = FileCause::kNone;
};
