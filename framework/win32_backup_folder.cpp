#include "framework/win32_backup_folder.h"

#include <shlobj.h>

#include "framework/text_encoding.h"

std::wstring DefaultBackupDirectory() {
  wchar_t base[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base))) return {};
  return std::wstring(base) + L"\\Ostrel\\Backups";
}

std::wstring Win32BackupFolder::PathOf(const std::string& name) const { return m_directory + L"\\" + WidenText(name); }

// A name the core cannot hold in Shift_JIS exactly, or one that is a folder, is no backup of
// ours; it is left out rather than listed under a name that would open some other file.
FileCause Win32BackupFolder::List(std::vector<std::string>& names) {
  names.clear();
  if (m_directory.empty()) return FileCause::kNone;
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW((m_directory + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileCause::kNone
                                                                          : FileCauseFromWin32Error(error);
  }
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (std::optional<std::string> name = NarrowExactly(found.cFileName)) names.push_back(std::move(*name));
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return FileCause::kNone;
}

FileCause Win32BackupFolder::CreateFolder(const std::wstring& directory) {
  if (::CreateDirectoryW(directory.c_str(), nullptr)) return FileCause::kNone;
  DWORD error = ::GetLastError();
  if (error == ERROR_ALREADY_EXISTS) {
    const DWORD attributes = ::GetFileAttributesW(directory.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FileCause::kNone
                                                                                             : FileCause::kAccessDenied;
  }
  const std::size_t slash = directory.find_last_of(L"\\/");
  if (error != ERROR_PATH_NOT_FOUND || slash == std::wstring::npos || slash == 0) return FileCauseFromWin32Error(error);
  if (const FileCause cause = CreateFolder(directory.substr(0, slash)); cause != FileCause::kNone) return cause;
  if (::CreateDirectoryW(directory.c_str(), nullptr)) return FileCause::kNone;
  return FileCauseFromWin32Error(::GetLastError());
}

FileCause Win32BackupFolder::Write(const std::string& name, const std::uint8_t* data, std::size_t size) {
  if (m_directory.empty()) return FileCause::kBadPath;
  if (const FileCause cause = CreateFolder(m_directory); cause != FileCause::kNone) return cause;
  const std::wstring path = PathOf(name);
  if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return FileCause::kAccessDenied;
  return m_store.ReplaceWide(path, data, size);
}

FileCause Win32BackupFolder::Read(const std::string& name, std::uint8_t* buffer, std::size_t capacity,
                                  std::size_t& bytesRead) {
  if (m_directory.empty()) return FileCause::kFileNotFound;
  return m_store.ReadWide(PathOf(name), buffer, capacity, bytesRead);
}

FileCause Win32BackupFolder::Remove(const std::string& name) {
  return ::DeleteFileW(PathOf(name).c_str()) ? FileCause::kNone : FileCauseFromWin32Error(::GetLastError());
}
