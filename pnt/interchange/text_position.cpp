#include "text_position.h"

std::size_t LineCounter::LineOf(std::size_t offset) {
  if (offset > m_text.size()) offset = m_text.size();
  if (offset < m_offset) {
    m_offset = 0;
    m_line = 1;
    m_lineStart = 0;
  }
  for (; m_offset < offset; ++m_offset) {
    if (m_text[m_offset] == '\n') {
      ++m_line;
      m_lineStart = m_offset + 1;
    }
  }
  return m_line;
}

std::string LineCounter::Describe(std::size_t offset) {
  std::size_t line = LineOf(offset);
  return "line " + std::to_string(line) + ", column " + std::to_string(m_offset - m_lineStart + 1);
}
