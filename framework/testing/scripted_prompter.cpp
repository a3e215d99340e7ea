#include "framework/testing/scripted_prompter.h"

std::vector<std::string> ScriptedPrompter::Messages() const {
  std::vector<std::string> texts;
  for (const Record& r : m_records)
    if (r.kind == Record::kMessage) texts.push_back(r.text);
  return texts;
}

std::vector<std::string> ScriptedPrompter::Questions() const {
  std::vector<std::string> texts;
  for (const Record& r : m_records)
    if (r.kind == Record::kQuestion) texts.push_back(r.text);
  return texts;
}

std::vector<FileDialogRequest> ScriptedPrompter::FileDialogs() const {
  std::vector<FileDialogRequest> requests;
  for (const Record& r : m_records)
    if (r.kind == Record::kFileDialog) requests.push_back(r.request);
  return requests;
}

void ScriptedPrompter::Clear() {
  m_records.clear();
  m_answers.clear();
  m_files.clear();
  m_unexpected = 0;
}

void ScriptedPrompter::ShowMessage(HWND owner, const std::string& text) {
  m_records.push_back({Record::kMessage, owner, text, {}});
}

int ScriptedPrompter::AskYesNoCancel(HWND owner, const std::string& text) {
  m_records.push_back({Record::kQuestion, owner, text, {}});
  if (m_answers.empty()) {
    ++m_unexpected;
    return IDCANCEL;
  }
  const int answer = m_answers.front();
  m_answers.pop_front();
  return answer;
}

std::optional<std::string> ScriptedPrompter::ChooseFile(HWND owner, const FileDialogRequest& request) {
  m_records.push_back({Record::kFileDialog, owner, {}, request});
  if (m_files.empty()) {
    ++m_unexpected;
    return std::nullopt;
  }
  std::optional<std::string> path = std::move(m_files.front());
  m_files.pop_front();
  return path;
}
