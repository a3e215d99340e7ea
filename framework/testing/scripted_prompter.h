// A Prompter for tests: it records every box and file dialog the program opens and gives
// the answers the test queued. Put it in place with ScopedPrompter.
//
//   ScriptedPrompter prompts;
//   ScopedPrompter use(prompts);
//   prompts.QueueAnswer(IDYES);                   // for the next Yes/No(/Cancel) question
//   prompts.QueueFile("C:\\data\\a.pnt");         // for the next file dialog
//   prompts.QueueFile(std::nullopt);              // ... or cancel it
//   ... send the command ...
//   EXPECT_EQ(prompts.Messages(), (std::vector<std::string>{"..."}));
//
// A question or file dialog with nothing queued counts as an unexpected prompt: it is
// cancelled (a Yes/No question answered No) and recorded, and the test can check Unexpected().
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "framework/prompts.h"

class ScriptedPrompter final : public Prompter {
 public:
  struct Record {
    enum Kind { kMessage, kQuestion, kFileDialog } kind;
    HWND owner;
    std::string text;           // message and question texts
    FileDialogRequest request;  // file dialogs
  };

  void QueueAnswer(int answer) { m_answers.push_back(answer); }
  void QueueFile(std::optional<std::string> path) { m_files.push_back(std::move(path)); }

  const std::vector<Record>& Records() const { return m_records; }
  // The texts of the OK-only boxes, in order.
  const std::vector<std::string>& Messages() const { return m_messages; }
  // The texts of the questions, in order.
  const std::vector<std::string>& Questions() const { return m_questions; }
  // The file dialogs, in order.
  const std::vector<FileDialogRequest>& FileDialogs() const { return m_fileDialogs; }
  int Unexpected() const { return m_unexpected; }
  void Clear();

  void ShowMessage(HWND owner, const std::string& text) override;
  int AskYesNoCancel(HWND owner, const std::string& text) override;
  int AskYesNo(HWND owner, const std::string& text) override;
  std::optional<std::string> ChooseFile(HWND owner, const FileDialogRequest& request) override;

 private:
  std::vector<Record> m_records;
  std::vector<std::string> m_messages;
  std::vector<std::string> m_questions;
  std::vector<FileDialogRequest> m_fileDialogs;
  // Records the question and gives the next queued answer, or `unanswered`.
  int Ask(HWND owner, const std::string& text, int unanswered);
  std::deque<int> m_answers;
  std::deque<std::optional<std::string>> m_files;
  int m_unexpected = 0;
};
