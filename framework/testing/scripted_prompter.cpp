#include "framework/testing/scripted_prompter.h"

void ScriptedPrompter::Clear() {
  m_records.clear();
  m_messages.clear();
  m_questions.clear();
  m_fileDialogs.clear();
  m_answers.clear();
  m_files.clear();
  m_unexpected = 0;
}

void ScriptedPrompter::ShowMessage(HWND owner, const std::string& text) {
  m_records.push_back({Record::kMessage, owner, text, {}});
  m_messages.push_back(text);
}

int ScriptedPrompter::AskYesNoCancel(HWND owner, const std::string& text) { return Ask(owner, text, IDCANCEL); }

int ScriptedPrompter::AskYesNo(HWND owner, const std::string& text) { return Ask(owner, text, IDNO); }

int ScriptedPrompter::Ask(HWND owner, const std::string& text, int unanswered) {
  m_records.push_back({Record::kQuestion, owner, text, {}});
  m_questions.push_back(text);
  if (m_answers.empty()) {
    ++m_unexpected;
    return unanswered;
  }
  const int answer = m_answers.front();
  m_answers.pop_front();
  return answer;
}

std::optional<std::string> ScriptedPrompter::ChooseFile(HWND owner, const FileDialogRequest& request) {
  m_records.push_back({Record::kFileDialog, owner, {}, request});
  m_fileDialogs.push_back(request);
  if (m_files.empty()) {
    ++m_unexpected;
    return std::nullopt;
  }
  std::optional<std::string> path = std::move(m_files.front());
  m_files.pop_front();
  return path;
}
