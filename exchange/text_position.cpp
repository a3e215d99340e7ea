#include "exchange/text_position.h"

#include <cstring>

std::size_t LineCounter::LineOf(std::size_t offset) {
  if (offset > m_text.size()) offset = m_text.size();
  if (offset < m_offset) {
    m_offset = 0;
    m_line = 1;
    m_lineStart = 0;
  }
  while (m_offset < offset) {
    const void* found = std::memchr(m_text.data() + m_offset, '\n', offset - m_offset);
    if (!found) {
      m_offset = offset;
      break;
    }
    m_offset = static_cast<std::size_t>(static_cast<const char*>(found) - m_text.data()) + 1;
    ++m_line;
    m_lineStart = m_offset;
  }
  return m_line;
}

std::string LineCounter::Describe(std::size_t offset) {
  std::size_t line = LineOf(offset);
  return "line " + std::to_string(line) + ", column " + std::to_string(m_offset - m_lineStart + 1);
}
