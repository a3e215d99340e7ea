#include "framework/win32_file_store.h"

#include <algorithm>

#include "framework/text_encoding.h"

namespace {

// Closes a file handle when it goes out of scope.
class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : m_handle(h) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return m_handle != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return m_handle; }
  bool Close() {
    const bool ok = !Valid() || ::CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE m_handle;
};

FileCause LastCause() { return FileCauseFromWin32Error(::GetLastError()); }

// The directory a file is in, for the temporary file beside it; "." for a bare name.
std::wstring DirectoryOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  size_t length;
  if (slash == std::wstring::npos) {
    // "C:name" is relative to drive C's current directory.
    if (path.size() < 2 || path[1] != L':') return L".";
    length = 2;
  } else if (slash == 0 || (slash == 2 && path[1] == L':')) {
    length = slash + 1;  // the root itself
  } else {
    length = slash;
  }
  return std::wstring(path.data(), length);
}

FileCause WriteAll(HANDLE file, const std::uint8_t* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 20));
    DWORD written = 0;
    if (!::WriteFile(file, data + done, chunk, &written, nullptr)) return LastCause();
    if (written == 0) return FileCause::kDiskFull;
    done += written;
  }
  return FileCause::kNone;
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
  FileHandle file(::CreateFileW(WidenText(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return LastCause();
  while (bytesRead < capacity) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(capacity - bytesRead, 1u << 20));
    DWORD got = 0;
    if (!::ReadFile(file.Get(), buffer + bytesRead, chunk, &got, nullptr)) return LastCause();
    if (got == 0) break;  // end of a short file
    bytesRead += got;
  }
  return FileCause::kNone;
}

FileCause Win32FileStore::Replace(const std::string& path, const std::uint8_t* data, std::size_t size) {
  if (path.empty()) return FileCause::kBadPath;
  const std::wstring target = WidenText(path);
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return FileCause::kAccessDenied;

  // The temporary file must be on the target's volume, or the final rename would copy.
  wchar_t temp[MAX_PATH];
  if (!::GetTempFileNameW(DirectoryOf(target).c_str(), L"pnt", 0, temp)) return LastCause();
  FileCause cause;
  {
    FileHandle file(::CreateFileW(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
      cause = LastCause();
      ::DeleteFileW(temp);
      return cause;
    }
    cause = WriteAll(file.Get(), data, size);
    if (cause == FileCause::kNone && !::FlushFileBuffers(file.Get())) cause = LastCause();
    LARGE_INTEGER written{};
    if (cause == FileCause::kNone) {
      if (!::GetFileSizeEx(file.Get(), &written))
        cause = LastCause();
      else if (static_cast<unsigned long long>(written.QuadPart) != size)
        cause = FileCause::kDiskFull;
    }
    if (!file.Close() && cause == FileCause::kNone) cause = LastCause();
  }
  if (cause == FileCause::kNone) {
    BOOL moved;
    if (attributes == INVALID_FILE_ATTRIBUTES)
      moved = ::MoveFileExW(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    else
      moved = ::ReplaceFileW(target.c_str(), temp, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    if (!moved) cause = LastCause();
  }
  if (cause != FileCause::kNone) ::DeleteFileW(temp);
  return cause;
}
