// A FileStore that keeps its files in memory. Tests use it to serve exact bytes and to make
// reads or saves fail on demand; the fuzzers and the benchmark use it so that no disk is
// involved.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "pointfile/file_store.h"

class MemoryFileStore : public FileStore {
 public:
  using Bytes = std::vector<std::uint8_t>;

  void Put(const std::string& path, Bytes bytes) { m_files[path] = std::move(bytes); }
  bool Has(const std::string& path) const { return m_files.count(path) != 0; }
  const Bytes& Contents(const std::string& path) const { return m_files.at(path); }
  int ReplaceCount() const { return m_replaceCount; }

  // Every later Read (or Replace) fails with `cause`; kNone makes them work again.
  void FailReadsWith(FileCause cause) { m_readFailure = cause; }
  void FailReplacesWith(FileCause cause) { m_replaceFailure = cause; }

  FileCause Read(const std::string& path, std::uint8_t* buffer, std::size_t capacity,
                 std::size_t& bytesRead) override {
    if (m_readFailure != FileCause::kNone) return m_readFailure;
    auto it = m_files.find(path);
    if (it == m_files.end()) return FileCause::kFileNotFound;
    bytesRead = std::min(capacity, it->second.size());
    std::copy_n(it->second.begin(), bytesRead, buffer);
    return FileCause::kNone;
  }

  FileCause Replace(const std::string& path, const std::uint8_t* data, std::size_t size) override {
    ++m_replaceCount;
    if (m_replaceFailure != FileCause::kNone) return m_replaceFailure;
    m_files[path] = Bytes(data, data + size);
    return FileCause::kNone;
  }

 private:
  std::map<std::string, Bytes> m_files;
  FileCause m_readFailure = FileCause::kNone;
  FileCause m_replaceFailure = FileCause::kNone;
  int m_replaceCount = 0;
};
