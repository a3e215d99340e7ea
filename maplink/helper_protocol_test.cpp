// The protocol's texts and coordinates as both sides see them.
#include "maplink/helper_protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pointfile/text_forms.h"

namespace {

using M = MapMessage;

std::string Assemble(const std::vector<TextStep>& steps, bool reply) {
  TextAssembler assembler;
  for (const TextStep& step : steps) {
    if (step.subCommand == M::kTextStart) assembler.Start();
    if (step.subCommand == M::kTextChar) {
      reply ? assembler.AppendByte(step.lParam) : assembler.AppendCharacter(step.lParam);
    }
  }
  return assembler.Text();
}

TEST(TextCommand, TravelsAsStartCharactersAndCommand) {
  EXPECT_EQ(EncodeTextCommand(M::kSetLayer, "4"),
            (std::vector<TextStep>{{M::kTextStart, 0}, {M::kTextChar, 0x34}, {M::kSetLayer, 0}}));
  EXPECT_EQ(EncodeTextCommand(M::kInitMap, ""),
            (std::vector<TextStep>{{M::kTextStart, 0}, {M::kInitMap, 0}}));
  const std::vector<TextStep> name = EncodeTextCommand(M::kObjectName, "ProAtlasW3.Map");
  ASSERT_EQ(name.size(), 16u);
  EXPECT_EQ(name[1], (TextStep{M::kTextChar, 'P'}));
  EXPECT_EQ(name.back(), (TextStep{M::kObjectName, 0}));
}

TEST(TextCommand, DoubleByteCharactersTravelAsOneSignExtendedStep) {
  EXPECT_EQ(EncodeTextCommand(M::kObjectName, "\x90\x56")[1], (TextStep{M::kTextChar, static_cast<int>(0xFFFF9056)}));
  EXPECT_EQ(EncodeTextCommand(M::kObjectName, "\x93\x8C")[1], (TextStep{M::kTextChar, static_cast<int>(0xFFFF938C)}));
  // Every byte of 0x80-0xFF in lead position is a lead byte, half-width katakana too.
  EXPECT_EQ(EncodeTextCommand(M::kObjectName, "\xB1" "A")[1], (TextStep{M::kTextChar, static_cast<int>(0xFFFFB141)}));
  // A lead byte at the end has no partner and is not sent.
  EXPECT_EQ(EncodeTextCommand(M::kObjectName, "ab\xE0"),
            (std::vector<TextStep>{{M::kTextStart, 0}, {M::kTextChar, 'a'}, {M::kTextChar, 'b'}, {M::kObjectName, 0}}));
}

TEST(TextCommand, AssemblesBackToTheSameBytes) {
  const std::string text = " 35/39/29123,139/44/05007,\x93\x8C\x8B\x9E, \xB1\xB2 tower";
  EXPECT_EQ(Assemble(EncodeTextCommand(M::kAddTextEx, text), false), text);
  const std::string reply = "35/39/29123\x81\x40\xFF";
  EXPECT_EQ(Assemble(EncodeReply(M::kGetMarkLat, reply), true), reply);
}

TEST(TextCommand, TextsStopAtTheLimitOnBothSides) {
  const std::string longText(5000, 'x');
  EXPECT_EQ(EncodeTextCommand(M::kAddTextEx, longText).size(), kMaxTextBytes + 2);
  EXPECT_EQ(EncodeReply(M::kGetMarkLon, longText).size(), kMaxTextBytes + 2);

  TextAssembler flood;
  flood.Start();
  for (int i = 0; i < 100000; ++i) flood.AppendByte('7');
  EXPECT_EQ(flood.Text().size(), kMaxTextBytes);

  // A double-byte character that does not fit whole is dropped whole.
  TextAssembler nearFull;
  nearFull.Start();
  for (std::size_t i = 0; i + 1 < kMaxTextBytes; ++i) nearFull.AppendCharacter('a');
  nearFull.AppendCharacter(static_cast<int>(0xFFFF938C));
  EXPECT_EQ(nearFull.Text(), std::string(kMaxTextBytes - 1, 'a'));
  flood.Start();
  EXPECT_EQ(flood.Text(), "");
}

TEST(HelperCoordinate, ToHelperFormJoinsSecondsAndThousandths) {
  EXPECT_EQ(ToHelperCoordinate(" 35/39/29.123"), " 35/39/29123");
  EXPECT_EQ(ToHelperCoordinate("139/44/05.007"), "139/44/05007");
  EXPECT_EQ(ToHelperCoordinate("  0/00/00.000"), "  0/00/00000");
  EXPECT_EQ(ToHelperCoordinate("35.39.29.123"), "35/39/29123");
  // Not DMS at all: still a defined text, nothing read past the input.
  EXPECT_EQ(ToHelperCoordinate(""), "/00000");
  EXPECT_EQ(ToHelperCoordinate("99999999999999999999/9"), "/999999999999009");
}

TEST(HelperCoordinate, FromHelperFormGivesTextTheDmsParserReads) {
  EXPECT_EQ(FromHelperCoordinate("35/39/29123"), "35.39.29.123");
  EXPECT_EQ(FromHelperCoordinate(" 35/39/29123"), " 35.39.29.123");
  EXPECT_EQ(FromHelperCoordinate(""), ".");
  EXPECT_EQ(FromHelperCoordinate("1234"), "12.34");
  EXPECT_EQ(FromHelperCoordinate("35/3"), "35.3.");
}

TEST(HelperCoordinate, OnlyTheHelpersFormCountsAsAMarkerPosition) {
  for (const char* reply : {"35/39/29123", " 35/39/29123", "139/44/05007", "  0/00/00000", "180/0/0"}) {
    EXPECT_TRUE(IsHelperCoordinate(reply)) << reply;
  }
  // Nothing, an error text, a sign, DMS text, a place no map shows, a field too long or missing.
  for (const char* reply : {"", "   ", ".", "1234", "no marker", "-35/39/29123", "35/39/29.123", "181/00/00000",
                            "1000/00/00000", "35/390/29123", "35/39/291234", "35//29123", "35/39/", "35/39/29123 ",
                            "\x81\x40/39/29123"}) {
    EXPECT_FALSE(IsHelperCoordinate(reply)) << reply;
  }
}

TEST(HelperCoordinate, EveryStoredValueComesBackAsTheSameText) {
  // What the editor sends and what the helper answers with must name the same position.
  for (std::uint32_t value = 0; value < 600u * 3600u * 2048u; value += 7919u * 13u) {
    const std::string dms = FormatDms(value);
    ASSERT_EQ(ParseDms(FromHelperCoordinate(ToHelperCoordinate(dms))), ParseDms(dms)) << dms;
  }
}

}  // namespace
