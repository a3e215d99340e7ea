// Everything that asks the user something or tells the user something in a box of its
// own: message boxes and the common file dialogs. The program goes through Prompts(),
// which is the real Win32 implementation unless a test has put a scripted one in its
// place (framework/testing/scripted_prompter.h), so tests can read the texts and give
// the answers.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

#include "pointfile/message_sink.h"

class Window;

struct FileDialogRequest {
  bool save = false;               // Save As dialog instead of Open
  std::string filter;              // "PNT ファイル(*.pnt)|*.pnt|すべてのファイル (*.*)|*.*||"
  std::string defaultExtension;    // "pnt": added when the typed name has none
  std::string initialDirectory;    // where the dialog starts
  std::string fileName;            // proposed name, usually empty
  bool overwritePrompt = false;    // Save: ask before replacing an existing file
  bool hideReadOnly = true;        // no read-only check box
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  // Exclamation icon, OK button.
  virtual void ShowMessage(HWND owner, const std::string& text) = 0;
  // Exclamation icon, Yes/No/Cancel; returns IDYES, IDNO or IDCANCEL.
  virtual int AskYesNoCancel(HWND owner, const std::string& text) = 0;
  // Exclamation icon, Yes/No; returns IDYES or IDNO.
  virtual int AskYesNo(HWND owner, const std::string& text) = 0;
  // The chosen path in Shift_JIS, or nothing when cancelled (or when the chosen path
  // cannot be represented in Shift_JIS; the user has then been told so).
  virtual std::optional<std::string> ChooseFile(HWND owner, const FileDialogRequest& request) = 0;
};

// The prompter in use.
Prompter& Prompts();

// Puts `prompter` in place for the life of this object (tests).
class ScopedPrompter {
 public:
  explicit ScopedPrompter(Prompter& prompter);
  ~ScopedPrompter();
  ScopedPrompter(const ScopedPrompter&) = delete;
  ScopedPrompter& operator=(const ScopedPrompter&) = delete;

 private:
  Prompter* m_previous;
};

// The real boxes and dialogs.
class Win32Prompter final : public Prompter {
 public:
  void ShowMessage(HWND owner, const std::string& text) override;
  int AskYesNoCancel(HWND owner, const std::string& text) override;
  int AskYesNo(HWND owner, const std::string& text) override;
  std::optional<std::string> ChooseFile(HWND owner, const FileDialogRequest& request) override;
};

// A text as a message box can show it. A box grows to fit its longest line, so a path of
// thousands of characters would push the box, its text and its buttons off the screen: lines
// are broken every kBoxLineLength characters, and of a line longer than kBoxLinePieces such
// pieces only the first and the last halves of them are shown, with "..." between.
inline constexpr std::size_t kBoxLineLength = 80;
inline constexpr std::size_t kBoxLinePieces = 6;
std::wstring FitTextForBox(const std::wstring& text);

// The full path of the running executable, however long.
std::wstring ProgramPath();
// The folder that holds the running executable, with its trailing backslash.
std::wstring ProgramFolder();
// The caption of every box: the executable's file name without its extension.
std::wstring ApplicationName();

// The core's messages, shown in message boxes owned by a window.
class MessageBoxSink final : public MessageSink {
 public:
  explicit MessageBoxSink(const Window& owner) : m_owner(owner) {}
  void ShowMessage(const std::string& text) override;

 private:
  const Window& m_owner;
};
