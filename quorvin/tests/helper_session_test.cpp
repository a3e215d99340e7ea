// The helper's side of the protocol, fed with exactly the steps the editor's encoder makes.
#include "quorvin/helper_session.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using M = MapMessage;

// Sends one text command the way the editor does.
SessionEvent Send(HelperSession& session, M command, std::string_view text) {
  SessionEvent last = SessionEvent::kNone;
  for (const TextStep& step : EncodeTextCommand(command, text)) last = session.Receive(step.subCommand, step.lParam);
  return last;
}

TEST(HelperSession, FollowsTheStartSequence) {
  HelperSession session;
  EXPECT_EQ(Send(session, M::kSetLayer, "4"), SessionEvent::kLayerSet);
  EXPECT_EQ(Send(session, M::kObjectName, "ProAtlasW3.Map"), SessionEvent::kSourceSet);
  EXPECT_FALSE(session.MapInitialised());
  EXPECT_EQ(Send(session, M::kInitMap, ""), SessionEvent::kMapInitialised);
  EXPECT_EQ(session.Layer(), "4");
  EXPECT_EQ(session.SourceName(), "ProAtlasW3.Map");
  EXPECT_TRUE(session.MapInitialised());
  EXPECT_EQ(session.IgnoredCount(), 0u);
}

TEST(HelperSession, PlacesTextsWithCommasInNamesAndDoubleByteCharacters) {
  HelperSession session;
  Send(session, M::kDeleteText, "");
  EXPECT_EQ(Send(session, M::kAddTextEx, " 35/39/29123,139/44/05007,東京"), SessionEvent::kTextsChanged);
  Send(session, M::kAddTextEx, " 35/40/52450,139/46/01649,駅, 北口, 2F");
  Send(session, M::kAddTextEx, "  0/00/00000,  0/00/00000,");
  ASSERT_EQ(session.Texts().size(), 3u);
  EXPECT_EQ(session.Texts()[0].latitude, 35 * 3600000 + 39 * 60000 + 29123);
  EXPECT_EQ(session.Texts()[0].longitude, 139 * 3600000 + 44 * 60000 + 5007);
  EXPECT_EQ(session.Texts()[0].name, "東京");
  EXPECT_EQ(session.Texts()[1].name, "駅, 北口, 2F");
  EXPECT_EQ(session.Texts()[2].name, "");
  Send(session, M::kDeleteText, "");
  EXPECT_TRUE(session.Texts().empty());
}

TEST(HelperSession, IgnoresAndCountsWhatItCannotRead) {
  HelperSession session;
  for (const char* text : {"", "35/39/29123", "35/39/29123;139/44/05007,x", "north,east,x", "35/39,139/44/05007,x",
                           "91/00/00000,139/44/05007,x", " 35/39/29123,181/00/00000,x", "35/60/00000,139/00/00000,x",
                           "35/39/60000,139/00/00000,x", "35/39/291234,139/00/00000,x", "-35/39/29123,139/44/05007,x",
                           "35/39/29123 ,139/44/05007,x", "999/59/59999,139/44/05007,x"}) {
    EXPECT_EQ(Send(session, M::kAddTextEx, text), SessionEvent::kIgnored) << text;
  }
  EXPECT_TRUE(session.Texts().empty());
  EXPECT_EQ(session.Receive(std::nullopt, 0), SessionEvent::kIgnored);  // an id none of the names has
  EXPECT_EQ(session.Receive(M::kTextEnd, 0), SessionEvent::kIgnored);
  EXPECT_EQ(session.Receive(M::kLayerName, 0), SessionEvent::kIgnored);
  EXPECT_EQ(session.Receive(M::kQuorvin, 0), SessionEvent::kIgnored);
  EXPECT_EQ(session.IgnoredCount(), 17u);
  // Still reads what comes next.
  EXPECT_EQ(Send(session, M::kAddTextEx, "90/00/00000,180/00/00000,edge"), SessionEvent::kTextsChanged);
}

TEST(HelperSession, ACommandDoesNotReuseThePreviousText) {
  HelperSession session;
  Send(session, M::kAddTextEx, " 35/39/29123,139/44/05007,a");
  // A command with no text of its own before it.
  EXPECT_EQ(session.Receive(M::kAddTextEx, 0), SessionEvent::kIgnored);
  EXPECT_EQ(session.Texts().size(), 1u);
}

TEST(HelperSession, KeepsAtMostItsLimitOfTextsUnderAFlood) {
  HelperSession session;
  for (int i = 0; i < 3000; ++i) Send(session, M::kAddTextEx, " 35/39/29123,139/44/05007,point");
  EXPECT_EQ(session.Texts().size(), HelperSession::kMaxTexts);
  EXPECT_EQ(session.IgnoredCount(), 3000 - HelperSession::kMaxTexts);
  // A text that never ends stays within the protocol's limit.
  session.Receive(M::kTextStart, 0);
  for (int i = 0; i < 100000; ++i) session.Receive(M::kTextChar, 'x');
  session.Receive(M::kObjectName, 0);
  EXPECT_EQ(session.SourceName().size(), kMaxTextBytes);
}

// The replies, read back the way the editor reads them: bytes assembled, then turned into
// a coordinate text that the editor's DMS parser takes.
TEST(HelperSession, AnswersMarkerRequestsInHelperForm) {
  HelperSession session;
  EXPECT_TRUE(session.Reply(M::kGetMarkLat).empty()) << "no marker, no answer";
  session.SetMarker({35 * 3600000 + 40 * 60000 + 52450, 139 * 3600000 + 46 * 60000 + 1649});
  const std::vector<TextStep> latitude = session.Reply(M::kGetMarkLat);
  ASSERT_EQ(latitude.size(), 14u);
  EXPECT_EQ(latitude.front(), (TextStep{M::kTextStart, 0}));
  EXPECT_EQ(latitude.back(), (TextStep{M::kGetMarkLat, 0}));
  TextAssembler reply;
  for (const TextStep& step : session.Reply(M::kGetMarkLon)) {
    if (step.subCommand == M::kTextStart) reply.Start();
    if (step.subCommand == M::kTextChar) reply.AppendByte(step.lParam);
  }
  EXPECT_EQ(reply.Text(), "139/46/01649");
  EXPECT_EQ(FromHelperCoordinate(reply.Text()), "139.46.01.649");
}

TEST(HelperCoordinateForm, FormatsAndParsesBothWays) {
  EXPECT_EQ(FormatHelperCoordinate(35 * 3600000 + 39 * 60000 + 29123), " 35/39/29123");
  EXPECT_EQ(FormatHelperCoordinate(0), "  0/00/00000");
  EXPECT_EQ(FormatHelperCoordinate(180 * 3600000), "180/00/00000");
  for (const ArcMillis value : {0, 1, 59999, 60000, 35 * 3600000 + 39 * 60000 + 29123, 90 * 3600000}) {
    EXPECT_EQ(ParseHelperCoordinate(FormatHelperCoordinate(value), 90), value);
  }
  // What the editor makes of its own DMS texts.
  EXPECT_EQ(ParseHelperCoordinate(ToHelperCoordinate(" 35/39/29.123"), 90), 35 * 3600000 + 39 * 60000 + 29123);
  EXPECT_EQ(RoundToArcMillis(35.0 + 0.49 / 3600000), 35 * 3600000);
  EXPECT_EQ(RoundToArcMillis(35.0 + 0.51 / 3600000), 35 * 3600000 + 1);
}

}  // namespace
