#include "pnt/coordinate_input.h"

#include <cstdlib>
#include <vector>

namespace {

// Tokens as ParseDms sees them: the first 32 bytes, split at ' , . / blank tab and line feed.
std::vector<std::string> Tokens(std::string_view text) {
  constexpr std::string_view kSeparators = "', ./\t\n";
  text = text.substr(0, 32);
  std::vector<std::string> tokens;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t start = text.find_first_not_of(kSeparators, pos);
    if (start == std::string_view::npos) break;
    std::size_t end = text.find_first_of(kSeparators, start);
    if (end == std::string_view::npos) end = text.size();
    tokens.emplace_back(text.substr(start, end - start));
    pos = end;
  }
  return tokens;
}

bool AllDigits(const std::string& token) {
  return !token.empty() && token.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

bool DegreesInRange(std::string_view text, long minDegrees, long maxDegrees) {
  std::vector<std::string> tokens = Tokens(text);
  if (tokens.empty()) return false;
  long degrees = std::atol(tokens[0].c_str());
  return degrees >= minDegrees && degrees <= maxDegrees;
}

std::string DmsFieldProblem(std::string_view text) {
  std::vector<std::string> tokens = Tokens(text);
  static const char* const kNames[] = {"degrees", "minutes", "seconds", "thousandths"};
  for (std::size_t i = 0; i < tokens.size() && i < 4; ++i) {
    if (!AllDigits(tokens[i])) {
      return std::string("the ") + kNames[i] + " \"" + tokens[i] + "\" are not a number";
    }
  }
  if (tokens.size() > 4) return "more than degrees, minutes, seconds and thousandths";
  if (tokens.size() > 1 && std::atol(tokens[1].c_str()) >= 60) {
    return "the minutes \"" + tokens[1] + "\" are 60 or more (write DDD/MM/SS.mmm)";
  }
  if (tokens.size() > 2) {
    long seconds = std::atol(tokens[2].c_str());
    // A third token of 60 or more holds seconds and thousandths written together.
    if (seconds >= 60 && (tokens.size() > 3 || seconds / 1000 >= 60)) {
      return "the seconds \"" + tokens[2] + "\" are 60 or more";
    }
  }
  return {};
}
