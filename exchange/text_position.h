// Line and column of a byte offset in an input text, for messages that say where.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class LineCounter {
 public:
  explicit LineCounter(std::string_view text) : m_text(text) {}
  // 1-based line of `offset`. Cheap when offsets come in increasing order.
  std::size_t LineOf(std::size_t offset);
  // "line L, column C" (column in bytes, 1-based).
  std::string Describe(std::size_t offset);

 private:
  std::string_view m_text;
  std::size_t m_offset = 0;
  std::size_t m_line = 1;
  std::size_t m_lineStart = 0;
};
