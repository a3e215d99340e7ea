#include "framework/prompts.h"

#include <commdlg.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "framework/text_encoding.h"
#include "framework/window.h"

namespace {

Win32Prompter g_realPrompter;
Prompter* g_prompter = &g_realPrompter;

// "Name|*.ext|All|*.*||" -> the double-NUL-terminated list OPENFILENAMEW wants.
std::wstring FilterList(const std::string& filter) {
  std::wstring list = WidenText(filter);
  for (wchar_t& c : list)
    if (c == L'|') c = L'\0';
  list.push_back(L'\0');
  return list;
}

}  // namespace

Prompter& Prompts() { return *g_prompter; }

ScopedPrompter::ScopedPrompter(Prompter& prompter) : m_previous(g_prompter) { g_prompter = &prompter; }

ScopedPrompter::~ScopedPrompter() { g_prompter = m_previous; }

std::wstring ProgramPath() {
  // GetModuleFileNameW cuts the path to the buffer without failing; a result that fills the
  // buffer may be cut, so try again with more room.
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD got = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (got < path.size()) return std::wstring(path.data(), got);
    path.resize(path.size() * 2);
  }
}

std::wstring ProgramFolder() {
  std::wstring folder = ProgramPath();
  folder.erase(folder.find_last_of(L"\\/") + 1);
  return folder;
}

std::wstring ApplicationName() {
  std::wstring name = ProgramPath();
  if (const size_t slash = name.find_last_of(L"\\/"); slash != std::wstring::npos) name.erase(0, slash + 1);
  if (const size_t dot = name.rfind(L'.'); dot != std::wstring::npos) name.erase(dot);
  return name;
}

std::wstring FitTextForBox(const std::wstring& text) {
  std::wstring fitted;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring_view line(text.data() + start, end - start);
    const std::size_t pieces = (line.size() + kBoxLineLength - 1) / kBoxLineLength;
    for (std::size_t piece = 0; piece < pieces; ++piece) {
      if (pieces > kBoxLinePieces && piece == kBoxLinePieces / 2) {
        fitted += L"...\n";
        piece = pieces - kBoxLinePieces / 2;  // on to the last pieces
      }
      fitted += line.substr(piece * kBoxLineLength, kBoxLineLength);
      if (piece + 1 < pieces) fitted += L'\n';
    }
    if (end < text.size()) fitted += L'\n';
    start = end + 1;
  }
  return fitted;
}

void Win32Prompter::ShowMessage(HWND owner, const std::string& text) {
  ::MessageBoxW(owner, FitTextForBox(WidenText(text)).c_str(), ApplicationName().c_str(),
                MB_OK | MB_ICONEXCLAMATION);
}

int Win32Prompter::AskYesNoCancel(HWND owner, const std::string& text) {
  return ::MessageBoxW(owner, FitTextForBox(WidenText(text)).c_str(), ApplicationName().c_str(),
                       MB_YESNOCANCEL | MB_ICONEXCLAMATION);
}

int Win32Prompter::AskYesNo(HWND owner, const std::string& text) {
  return ::MessageBoxW(owner, FitTextForBox(WidenText(text)).c_str(), ApplicationName().c_str(),
                       MB_YESNO | MB_ICONEXCLAMATION);
}

std::optional<std::string> Win32Prompter::ChooseFile(HWND owner, const FileDialogRequest& request) {
  const std::wstring filter = FilterList(request.filter);
  const std::wstring extension = WidenText(request.defaultExtension);
  const std::wstring directory = WidenText(request.initialDirectory);
  // Room for a long path; the dialog says so (FNERR_BUFFERTOOSMALL) rather than cut one.
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring proposed = WidenText(request.fileName);
  proposed.copy(file.data(), std::min(proposed.size(), file.size() - 1));

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.size() > 1 ? filter.c_str() : nullptr;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
  ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (request.hideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
  if (request.overwritePrompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
  const BOOL chosen = request.save ? ::GetSaveFileNameW(&ofn) : ::GetOpenFileNameW(&ofn);
  if (!chosen) return std::nullopt;

  const std::wstring path(file.data());
  std::optional<std::string> narrow = NarrowExactly(path);
  if (!narrow) ShowMessage(owner, UnrepresentablePathText(path));
  return narrow;
}

void MessageBoxSink::ShowMessage(const std::string& text) { Prompts().ShowMessage(m_owner.Handle(), text); }
