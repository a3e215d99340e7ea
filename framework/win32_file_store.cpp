#include "framework/win32_file_store.h"

#include <algorithm>

#include "framework/text_encoding.h"

namespace {

// Closes a file handle when it goes out of scope.
class FileHandle {
 public:
  FileHandle(Win32FileCalls& calls, HANDLE h) : m_calls(calls), m_handle(h) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return m_handle != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return m_handle; }
  bool Close() {
    const bool ok = !Valid() || m_calls.Close(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  Win32FileCalls& m_calls;
  HANDLE m_handle;
};

FileCause LastCause() { return FileCauseFromWin32Error(::GetLastError()); }

// The directory part of a path as the path gives it, separator included: "C:\\data\\", "C:" for
// drive C's current directory, "" for a bare name.
std::wstring DirectoryPart(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  if (slash != std::wstring::npos) return path.substr(0, slash + 1);
  if (path.size() >= 2 && path[1] == L':') return path.substr(0, 2);
  return {};
}

// "pnt" and four hex digits, then ".tmp": how GetTempFileName names its files.
std::wstring TemporaryName(unsigned number) {
  static const wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring name = L"pnt";
  for (int shift = 12; shift >= 0; shift -= 4) name += kHex[(number >> shift) & 0xF];
  return name + L".tmp";
}

}  // namespace

FileCause FileCauseFromWin32Error(DWORD error) {
  switch (error) {
    case ERROR_SUCCESS:
      return FileCause::kNone;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_HANDLE:
    case ERROR_NO_MORE_FILES:
    case ERROR_DISK_CHANGE:
      return FileCause::kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_SAME_DEVICE:
    case ERROR_WRONG_DISK:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
    case ERROR_BUFFER_OVERFLOW:
      return FileCause::kBadPath;
    case ERROR_TOO_MANY_OPEN_FILES:
    case ERROR_SHARING_BUFFER_EXCEEDED:
    case ERROR_NO_MORE_SEARCH_HANDLES:
      return FileCause::kTooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_INVALID_ACCESS:
    case ERROR_WRITE_PROTECT:
    case ERROR_WRITE_FAULT:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
    case ERROR_CANNOT_MAKE:
    case ERROR_BUSY:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
      return FileCause::kAccessDenied;
    case ERROR_BAD_FORMAT:
    case ERROR_NOT_DOS_DISK:
    case ERROR_BAD_DEV_TYPE:
    case ERROR_INVALID_EXE_SIGNATURE:
    case ERROR_BAD_EXE_FORMAT:
      return FileCause::kInvalidFile;
    case ERROR_CURRENT_DIRECTORY:
    case ERROR_DIR_NOT_EMPTY:
      return FileCause::kRemoveCurrentDir;
    case ERROR_NO_SPOOL_SPACE:
      return FileCause::kDirectoryFull;
    case ERROR_SEEK:
    case ERROR_BAD_LENGTH:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_READ_FAULT:
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE:
      return FileCause::kBadSeek;
    case ERROR_NOT_READY:
    case ERROR_BAD_UNIT:
    case ERROR_BAD_COMMAND:
    case ERROR_CRC:
    case ERROR_GEN_FAILURE:
    case ERROR_NET_WRITE_FAULT:
    case ERROR_OPERATION_ABORTED:
    case ERROR_IO_DEVICE:
      return FileCause::kHardIO;
    case ERROR_SHARING_VIOLATION:
      return FileCause::kSharingViolation;
    case ERROR_LOCK_VIOLATION:
    case ERROR_LOCK_FAILED:
    case ERROR_DRIVE_LOCKED:
      return FileCause::kLockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return FileCause::kDiskFull;
    case ERROR_HANDLE_EOF:
      return FileCause::kEndOfFile;
    default:
      return FileCause::kGeneric;
  }
}

FileCause Win32FileStore::Read(const std::string& path, std::uint8_t* buffer, std::size_t capacity,
                               std::size_t& bytesRead) {
  bytesRead = 0;
  if (path.empty()) return FileCause::kBadPath;
  return ReadWide(WidenText(path), buffer, capacity, bytesRead);
}

FileCause Win32FileStore::ReadWide(const std::wstring& path, std::uint8_t* buffer, std::size_t capacity,
                                   std::size_t& bytesRead) {
  bytesRead = 0;
  FileHandle file(m_calls, m_calls.Open(path.c_str(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
  if (!file.Valid()) return LastCause();
  if (m_calls.GetType(file.Get()) != FILE_TYPE_DISK) return FileCause::kAccessDenied;
  while (bytesRead < capacity) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(capacity - bytesRead, 1u << 20));
    DWORD got = 0;
    if (!m_calls.Read(file.Get(), buffer + bytesRead, chunk, &got)) return LastCause();
    if (got == 0) break;  // end of a short file
    bytesRead += got;
  }
  return FileCause::kNone;
}

// Creates the temporary file beside the target, on its volume, so that the final rename does
// not copy. GetTempFileName would name it the same way, but it writes the name into a buffer
// of MAX_PATH characters however long the directory is (Wine's overruns it).
FileCause Win32FileStore::CreateTemporary(const std::wstring& target, std::wstring& temp, HANDLE& file) {
  const std::wstring dir = DirectoryPart(target);
  const unsigned first = ::GetTickCount();
  for (unsigned n = 0; n <= 0xFFFF; ++n) {
    temp = dir + TemporaryName(first + n);
    file = m_calls.Open(temp.c_str(), GENERIC_WRITE, 0, CREATE_NEW);
    if (file != INVALID_HANDLE_VALUE) return FileCause::kNone;
    if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS) return LastCause();
  }
  return FileCause::kDirectoryFull;  // every one of the names is taken
}

// Writes the bytes into the temporary file, flushes them, checks that the file holds all of
// them, and closes it.
FileCause Win32FileStore::WriteTemporary(HANDLE handle, const std::uint8_t* data, std::size_t size) {
  FileHandle file(m_calls, handle);
  for (std::size_t done = 0; done < size;) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 20));
    DWORD written = 0;
    if (!m_calls.Write(file.Get(), data + done, chunk, &written)) return LastCause();
    if (written == 0) return FileCause::kDiskFull;
    done += written;
  }
  if (!m_calls.Flush(file.Get())) return LastCause();
  LARGE_INTEGER length{};
  if (!m_calls.GetSize(file.Get(), &length)) return LastCause();
  if (static_cast<unsigned long long>(length.QuadPart) != size) return FileCause::kDiskFull;
  if (!file.Close()) return LastCause();
  return FileCause::kNone;
}

// Moves the finished temporary file over the target. ReplaceFile keeps the target's
// attributes, but when it fails while moving the replacement (ERROR_UNABLE_TO_MOVE_REPLACEMENT
// and _2) the target may already be gone: then the temporary file holds the only copy of the
// points, and is moved into place or, failing that, kept.
FileCause Win32FileStore::PutInPlace(const std::wstring& target, const wchar_t* temp, bool targetExists,
                                     bool& keepTemporary) {
  constexpr DWORD kMoveFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  if (!targetExists) return m_calls.Move(temp, target.c_str(), kMoveFlags) ? FileCause::kNone : LastCause();
  if (m_calls.ReplaceWith(target.c_str(), temp)) return FileCause::kNone;
  const DWORD error = ::GetLastError();
  const FileCause cause = FileCauseFromWin32Error(error);
  if (error != ERROR_UNABLE_TO_MOVE_REPLACEMENT && error != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) return cause;
  if (m_calls.GetAttributes(target.c_str()) != INVALID_FILE_ATTRIBUTES) return cause;
  if (m_calls.Move(temp, target.c_str(), kMoveFlags)) return FileCause::kNone;
  keepTemporary = true;
  return cause;
}

FileCause Win32FileStore::Replace(const std::string& path, const std::uint8_t* data, std::size_t size) {
  if (path.empty()) return FileCause::kBadPath;
  return ReplaceWide(WidenText(path), data, size);
}

FileCause Win32FileStore::ReplaceWide(const std::wstring& target, const std::uint8_t* data, std::size_t size) {
  const DWORD attributes = m_calls.GetAttributes(target.c_str());
  const bool targetExists = attributes != INVALID_FILE_ATTRIBUTES;
  // A directory cannot be replaced by a file, and a file marked read-only is not to be.
  if (targetExists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
    return FileCause::kAccessDenied;
  // The target must open for writing: a file another program holds without sharing is
  // reported before anything is written. (ReplaceFile would find out too, but Wine's leaves
  // a file of its own behind when it does.)
  if (targetExists) {
    const HANDLE probe = m_calls.Open(target.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
    if (probe == INVALID_HANDLE_VALUE) return LastCause();
    m_calls.Close(probe);
  }

  std::wstring temp;
  HANDLE file = INVALID_HANDLE_VALUE;
  if (const FileCause cause = CreateTemporary(target, temp, file); cause != FileCause::kNone) return cause;
  FileCause cause = WriteTemporary(file, data, size);
  bool keepTemporary = false;
  if (cause == FileCause::kNone) cause = PutInPlace(target, temp.c_str(), targetExists, keepTemporary);
  if (cause != FileCause::kNone && !keepTemporary) m_calls.Remove(temp.c_str());
  return cause;
}
