// Any bytes through the map link's text and coordinate code. As a text, they travel as a
// command and as a reply and come back as they were sent (within the length limit); as a run
// of steps from a misbehaving program, they never grow a text past the limit; as a
// coordinate, they convert to and from the helper's form without reading past the text, and
// a coordinate the editor shows names the same position after the round trip and is taken
// back as a position.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "maplink/helper_protocol.h"
#include "pointfile/point_record.h"
#include "pointfile/text_forms.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

std::string Assemble(const std::vector<TextStep>& steps, bool reply) {
  TextAssembler assembler;
  for (const TextStep& step : steps) {
    if (step.subCommand == MapMessage::kTextStart) {
      assembler.Start();
    } else if (step.subCommand == MapMessage::kTextChar) {
      reply ? assembler.AppendByte(step.lParam) : assembler.AppendCharacter(step.lParam);
    }
  }
  return assembler.Text();
}

// What a text command carries: the text up to the limit, less a lead byte left without its
// trail at the end.
std::string SentText(std::string_view text) {
  text = text.substr(0, std::min(text.size(), kMaxTextBytes));
  std::size_t end = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t width = static_cast<unsigned char>(text[pos]) >= 0x80 ? 2 : 1;
    if (pos + width > text.size()) break;
    pos += width;
    end = pos;
  }
  return std::string(text.substr(0, end));
}

// The bytes as steps of 5 bytes (a kind, then lParam) posted by a program that does not
// follow the protocol.
void AssembleSteps(const std::uint8_t* data, std::size_t size) {
  TextAssembler assembler;
  for (std::size_t pos = 0; pos + 5 <= size; pos += 5) {
    std::int32_t lParam;
    std::memcpy(&lParam, data + pos + 1, sizeof lParam);
    switch (data[pos] % 3) {
      case 0: assembler.Start(); break;
      case 1: assembler.AppendCharacter(lParam); break;
      default: assembler.AppendByte(lParam); break;
    }
    Require(assembler.Text().size() <= kMaxTextBytes);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Require(Assemble(EncodeTextCommand(MapMessage::kAddTextEx, text), false) == SentText(text));
  Require(Assemble(EncodeReply(MapMessage::kGetMarkLat, text), true) == text.substr(0, kMaxTextBytes));
  AssembleSteps(data, size);

  const std::string helperForm = ToHelperCoordinate(text);
  Require(helperForm.size() <= size + 20);
  (void)IsHelperCoordinate(text);
  Require(FromHelperCoordinate(text).size() == size + 1);
  if (size >= 4) {
    std::uint32_t value;
    std::memcpy(&value, data, sizeof value);
    const std::string shown = FormatDms(value);
    Require(ParseDms(FromHelperCoordinate(ToHelperCoordinate(shown))) == ParseDms(shown));
    // Any position up to 180 degrees travels in a form the editor takes back as a position.
    if (value < 180u * kUnitsPerDegree) Require(IsHelperCoordinate(ToHelperCoordinate(shown)));
  }
  return 0;
}
