// Moving a point file between disk and a PointFile.
#include <algorithm>
#include <cstring>

#include "pointfile/messages.h"
#include "pointfile/point_file.h"
#include "pointfile/shift_jis.h"

namespace {

// The extension of the last path component, with its period, upper-cased.
std::string UpperExtension(std::string_view path) {
  const std::string_view name = LastPathComponent(path);
  std::size_t dot = std::string::npos;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (IsShiftJisLeadByte(static_cast<unsigned char>(name[i])) && i + 1 < name.size()) {
      ++i;
    } else if (name[i] == '.') {
      dot = i;
    }
  }
  if (dot == std::string::npos) return {};
  std::string extension(name.substr(dot));
  for (char& c : extension) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return extension;
}

}  // namespace

// Paths are Shift_JIS, whose trail bytes include '\\' and letters, so the scan steps over them.
std::string_view LastPathComponent(std::string_view path) {
  std::size_t componentStart = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto c = static_cast<unsigned char>(path[i]);
    if (IsShiftJisLeadByte(c) && i + 1 < path.size()) {
      ++i;
    } else if (c == '\\' || c == '/' || c == ':') {
      componentStart = i + 1;
    }
  }
  return path.substr(componentStart);
}

bool HasPointFileExtension(std::string_view path) { return UpperExtension(path) == ".PNT"; }

std::string UnrecognisedFileText(const std::string& path) {
  // The format holds one %s; building it by hand keeps a '%' in the path harmless.
  const std::string format = kUnrecognisedFileFormat;
  const std::size_t at = format.find("%s");
  return format.substr(0, at) + path + format.substr(at + 2);
}

std::string FileCauseText(int cause) {
  if (cause < 0 || cause >= static_cast<int>(std::size(kFileCauseTexts))) return kUnknownCauseText;
  return kFileCauseTexts[cause];
}

void ShowFileError(FileCause cause, const std::string& path, MessageSink& sink) {
  sink.ShowMessage("\"" + path + "\"\n\n" + FileCauseText(static_cast<int>(cause)));
}

LoadResult PointFile::LoadFile(const std::string& path, FileStore& store, MessageSink& sink) {
  if (!HasPointFileExtension(path)) {
    Reset();
    sink.ShowMessage(UnrecognisedFileText(path));
    return {LoadOutcome::kRefusedExtension};
  }
  Reset();
  std::size_t bytesRead = 0;
  if (const FileCause cause = store.Read(path, m_image.data(), m_image.size(), bytesRead);
      cause != FileCause::kNone) {
    Reset();  // a read that failed part way may have left some of the file behind
    ShowFileError(cause, path, sink);
    return {LoadOutcome::kReadFailed, cause};
  }
  if (!AdoptLoadedImage()) {
    sink.ShowMessage(UnrecognisedFileText(path));
    return {LoadOutcome::kNotPointFile};
  }
  return {LoadOutcome::kLoaded};
}

bool PointFile::LoadBytes(const std::uint8_t* data, std::size_t size) {
  Reset();
  std::memcpy(m_image.data(), data, std::min(size, m_image.size()));
  return AdoptLoadedImage();
}

bool PointFile::AdoptLoadedImage() {
  if (IsUsed(0)) m_pointCount = CountPoints();
  m_modified = false;
  if (std::memcmp(m_image.data(), kPointFileSignature, kSignatureLength) != 0) {
    Reset();
    return false;
  }
  return true;
}

// A file without points is written too: the user who deleted every point and saved expects
// to find them deleted, and our loader reads such a file as an empty point file.
int PointFile::SaveFile(const std::string& path, FileStore& store, MessageSink& sink) const {
  if (const FileCause cause = store.Replace(path, m_image.data(), m_image.size());
      cause != FileCause::kNone) {
    ShowFileError(cause, path, sink);
    return -1;
  }
  return 0;
}

int PointFile::SavePoints(const std::string& path, FileStore& store, MessageSink& sink) {
  const int result = SaveFile(path, store, sink);
  if (result == 0) m_modified = false;
  return result;
}
