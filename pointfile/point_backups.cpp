#include "pointfile/point_backups.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "pointfile/point_file.h"
#include "pointfile/shift_jis.h"
#include "pointfile/text_forms.h"

namespace {

// The file's name in a backup's name is cut to this many bytes, so that with the hash, the
// time and a long folder above it the name stays within what file systems take.
constexpr std::size_t kLongestStem = 64;
constexpr char kBackupExtension[] = ".pnt";

// A path as Windows compares paths: letters in either case, either separator. Trail bytes of
// double-byte characters stay as they are.
std::string FoldPath(std::string_view path) {
  std::string folded(path);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    char& c = folded[i];
    if (IsShiftJisLeadByte(static_cast<unsigned char>(c)) && i + 1 < folded.size()) {
      ++i;
    } else if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    } else if (c == '/') {
      c = '\\';
    }
  }
  return folded;
}

// FNV-1a.
std::uint32_t PathHash(std::string_view path) {
  std::uint32_t hash = 2166136261u;
  for (const char c : FoldPath(path)) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash;
}

// The file's name without its extension, cut on a character boundary.
std::string Stem(std::string_view path) {
  std::string_view name = LastPathComponent(path);
  if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  std::size_t end = 0;
  while (end < name.size()) {
    const std::size_t width = IsShiftJisLeadByte(static_cast<unsigned char>(name[end])) ? 2 : 1;
    if (end + width > kLongestStem) break;
    end += width;
  }
  return std::string(name.substr(0, std::min(end, name.size())));
}

std::string StampPart(const BackupStamp& s, int sequence) {
  char text[64];
  const int length = std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", s.year, s.month, s.day, s.hour,
                                   s.minute, s.second);
  if (sequence > 1) std::snprintf(text + length, sizeof text - length, "-%d", sequence);
  return std::string(text).append(kBackupExtension);
}

// Reads `count` digits at `at`; -1 when they are not all digits.
int Digits(std::string_view text, std::size_t at, std::size_t count) {
  if (at + count > text.size()) return -1;
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// "20261209-113425.pnt" or "20261209-113425-2.pnt": the stamp and sequence, or false.
bool ParseStampPart(std::string_view part, BackupEntry& entry) {
  BackupStamp& s = entry.stamp;
  s = {Digits(part, 0, 4), Digits(part, 4, 2), Digits(part, 6, 2),
       Digits(part, 9, 2), Digits(part, 11, 2), Digits(part, 13, 2)};
  if (part.size() < 15 || part[8] != '-' || s.year < 0 || s.month < 1 || s.month > 12 || s.day < 1 ||
      s.day > 31 || s.hour < 0 || s.hour > 23 || s.minute < 0 || s.minute > 59 || s.second < 0 || s.second > 60)
    return false;
  std::string_view rest = part.substr(15);
  entry.sequence = 1;
  if (!rest.empty() && rest[0] == '-') {
    const std::size_t digits = rest.find('.');
    if (digits == std::string_view::npos || digits < 2 || digits > 6) return false;
    entry.sequence = Digits(rest, 1, digits - 1);
    if (entry.sequence < 2) return false;
    rest = rest.substr(digits);
  }
  return rest == kBackupExtension;
}

}  // namespace

BackupStamp LocalBackupStamp() {
  const std::tm t = LocalNow();
  return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}

std::string BackupStampText(const BackupStamp& s) {
  char text[48];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", s.year, s.month, s.day, s.hour, s.minute,
                s.second);
  return text;
}

std::string BackupNamePrefix(const std::string& path) {
  char hash[16];
  std::snprintf(hash, sizeof hash, ".%08X.", static_cast<unsigned>(PathHash(path)));
  return Stem(path) + hash;
}

std::vector<BackupEntry> PointBackups::List(const std::string& path) {
  std::vector<std::string> names;
  std::vector<BackupEntry> entries;
  if (m_folder.List(names) != FileCause::kNone) return entries;
  // The same file opened as "Points.pnt" and as "points.pnt" has one set of backups.
  const std::string prefix = FoldPath(BackupNamePrefix(path));
  for (std::string& name : names) {
    BackupEntry entry;
    if (name.size() <= prefix.size() || FoldPath(std::string_view(name).substr(0, prefix.size())) != prefix) continue;
    if (!ParseStampPart(std::string_view(name).substr(prefix.size()), entry)) continue;
    entry.name = std::move(name);
    entries.push_back(std::move(entry));
  }
  std::sort(entries.begin(), entries.end(), [](const BackupEntry& a, const BackupEntry& b) {
    return std::tie(a.stamp, a.sequence) > std::tie(b.stamp, b.sequence);
  });
  return entries;
}

FileCause PointBackups::Keep(const std::string& path, const std::uint8_t* data, std::size_t size,
                             const BackupStamp& now) {
  std::vector<BackupEntry> entries = List(path);
  int sequence = 1;
  for (const BackupEntry& entry : entries) {
    if (entry.stamp == now) sequence = std::max(sequence, entry.sequence + 1);
  }
  const std::string name = BackupNamePrefix(path) + StampPart(now, sequence);
  if (const FileCause cause = m_folder.Write(name, data, size); cause != FileCause::kNone) return cause;
  // The one just written is never pruned, even when a clock set back makes it look old.
  int kept = 1;
  for (const BackupEntry& entry : entries) {
    if (kept < kKeptPerPath) {
      ++kept;
    } else {
      m_folder.Remove(entry.name);  // one left behind does no harm; the next save tries again
    }
  }
  return FileCause::kNone;
}

FileCause PointBackups::KeepFileOf(const std::string& path, FileStore& store, const BackupStamp& now) {
  std::vector<std::uint8_t> bytes(kLargestBackup);
  std::size_t bytesRead = 0;
  const FileCause cause = store.Read(path, bytes.data(), bytes.size(), bytesRead);
  if (cause == FileCause::kFileNotFound || cause == FileCause::kBadPath) return FileCause::kNone;
  if (cause != FileCause::kNone) return cause;
  return Keep(path, bytes.data(), bytesRead, now);
}

FileCause PointBackups::Load(const BackupEntry& entry, PointFile& file) {
  std::vector<std::uint8_t> bytes(kPointFileLength);
  std::size_t bytesRead = 0;
  if (const FileCause cause = m_folder.Read(entry.name, bytes.data(), bytes.size(), bytesRead);
      cause != FileCause::kNone)
    return cause;
  return file.LoadBytes(bytes.data(), bytesRead) ? FileCause::kNone : FileCause::kInvalidFile;
}
