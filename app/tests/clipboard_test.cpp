// Copy and paste through the real clipboard: what Copy writes comes back whole in either
// datum, pasted positions go in after the selection as one step, text without a position is
// refused with a message, and Ctrl+C / Ctrl+V are the list's but an edit box's own.
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "app/tests/editing_fixture.h"
#include "framework/clipboard.h"
#include "framework/controls.h"
#include "registry/testing/memory_registry.h"

namespace {

class ClipboardTest : public EditingTest {
 protected:
  void SetUp() override {
    EditingTest::SetUp();
    window.Datum().UseRegistry(registry);
  }
  void PutOnClipboard(const std::string& utf8) { ASSERT_TRUE(WriteClipboardText(window.Handle(), utf8)); }
  std::string OnClipboard() { return ReadClipboardText(window.Handle()).value_or("(none)"); }

  MemoryRegistry registry;
};

std::vector<std::uint8_t> SlotBytes(const PointFile& file, int slot) {
  const auto first = file.Image().begin() + kHeaderLength + slot * PointRecord::kEncodedLength;
  return std::vector<std::uint8_t>(first, first + PointRecord::kEncodedLength);
}

// Points with every field set, each different, at positions that are no round numbers.
PointFile VariedPoints(int count) {
  PointFile file = NumberedPoints(count);
  for (int i = 0; i < count; ++i) {
    file.SetLocation(i, "千代田区丸の内" + std::to_string(i));
    file.SetNickname(i, "ﾆｯｸﾈｰﾑ" + std::to_string(i));
    file.SetPhone(i, "03-1234-" + std::to_string(1000 + i));
    file.SetLongitude(i, 1030000000u + static_cast<std::uint32_t>(i) * 7654321u);
    file.SetLatitude(i, 263000000u + static_cast<std::uint32_t>(i) * 1234567u);
    file.SetVoiceCode(i, static_cast<std::uint16_t>((i % 32) << 5));
    file.SetDate(i, (static_cast<std::uint32_t>(20 + i) << 16) | (3u << 8) | static_cast<std::uint32_t>(1 + i));
    file.UpdateChecksum(i);
  }
  file.SetModified(false);
  return file;
}

TEST_F(ClipboardTest, PasteOfACopyRestoresEveryFieldInEitherDatum) {
  for (const ExchangeDatum datum : {ExchangeDatum::kWgs84, ExchangeDatum::kTokyo}) {
    SCOPED_TRACE(datum == ExchangeDatum::kTokyo ? "Tokyo" : "WGS 84");
    window.Datum().Save(datum);
    OpenFile(VariedPoints(8));
    SelectRows({1, 3, 4});
    Command(ID_EDIT_COPY);
    const std::string text = OnClipboard();
    EXPECT_EQ(text.substr(0, text.find('\r')), "name\tlatitude\tlongitude\tlocation\tnickname\tphone\ticon\tvoice\tdate\ttime");

    SelectRows({5});
    const auto before = Points().Image();
    Command(ID_EDIT_PASTE);
    ASSERT_TRUE(prompts.Messages().empty()) << prompts.Messages().front();
    ASSERT_EQ(Points().GetPointCount(), 11);
    EXPECT_EQ(SelectedRows(), (std::vector<int>{6, 7, 8}));
    const PointFile original = VariedPoints(8);
    int copied = 0;
    for (const int slot : {1, 3, 4}) {
      EXPECT_EQ(SlotBytes(Points(), 6 + copied++), SlotBytes(original, slot)) << "slot " << slot;
    }
    ExpectListMatchesTable();
    // One step.
    Command(ID_EDIT_UNDO);
    EXPECT_TRUE(Points().Image() == before);
  }
}

TEST_F(ClipboardTest, PastedPositionsGoInAfterTheSelectionNamedAndSelected) {
  OpenFile(NumberedPoints(4));
  PutOnClipboard(reinterpret_cast<const char*>(u8"東京駅 35.681236, 139.767125\r\n43.068611 141.350833\r\n"));
  SelectRows({1});
  Command(ID_EDIT_PASTE);
  ASSERT_EQ(Points().GetPointCount(), 6);
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"P00", "P01", "東京駅", "新しいポイント", "P02", "P03"}));
  EXPECT_EQ(SelectedRows(), (std::vector<int>{2, 3}));
  EXPECT_EQ(Points().GetLatitude(2), static_cast<std::uint32_t>(std::lround(35.681236 * kUnitsPerDegree)));
  EXPECT_EQ(Points().GetLongitude(3), static_cast<std::uint32_t>(std::lround(141.350833 * kUnitsPerDegree)));

  // Nothing selected: at the end. A full file takes what it can and says so.
  prompts.QueueAnswer(IDNO);  // the pasted points are not saved
  OpenFile(NumberedPoints(248));
  SelectRows({});
  PutOnClipboard("35.1, 136.9\n35.2, 136.9\n35.3, 136.9\n");
  Command(ID_EDIT_PASTE);
  EXPECT_EQ(Points().GetPointCount(), 250);
  EXPECT_EQ(RowNames()[248], "新しいポイント");
  ASSERT_EQ(prompts.Messages().size(), 1u);
  EXPECT_EQ(prompts.Messages()[0], PointLimitText(250));
}

TEST_F(ClipboardTest, TextWithoutAPositionIsRefusedAndAddsNothing) {
  const struct {
    std::string text;
    const char* says;
  } cases[] = {
      {"https://maps.app.goo.gl/Ab12Cd34Ef", "short link"},
      {"35.68, 139.76\nmeet at noon", "line 2"},
      {std::string(3 * 1024 * 1024, '9'), "1 MB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    OpenFile(NumberedPoints(3));
    prompts.Clear();
    PutOnClipboard(c.text);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(Points().GetPointCount(), 3);
    EXPECT_FALSE(window.History().CanUndo());
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_NE(prompts.Messages()[0].find("何も追加しませんでした"), std::string::npos);
    EXPECT_NE(prompts.Messages()[0].find(c.says), std::string::npos) << prompts.Messages()[0];
  }
}

TEST_F(ClipboardTest, MenuItemsAndKeys) {
  OpenFile(NumberedPoints(3));
  SelectRows({});
  ::OpenClipboard(window.Handle());
  ::EmptyClipboard();
  ::CloseClipboard();
  EXPECT_EQ(EditMenuState(ID_EDIT_COPY), static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(EditMenuState(ID_EDIT_PASTE), static_cast<UINT>(MF_GRAYED));
  SelectRows({2});
  PutOnClipboard("x");
  EXPECT_EQ(EditMenuState(ID_EDIT_COPY), 0u);
  EXPECT_EQ(EditMenuState(ID_EDIT_PASTE), 0u);

  // On the list the keys copy and paste points.
  EXPECT_TRUE(PressCtrl(List().Handle(), 'C'));
  EXPECT_EQ(OnClipboard().find("P02\t"), OnClipboard().find('\n') + 1);
  EXPECT_TRUE(PressCtrl(List().Handle(), 'V'));
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"P00", "P01", "P02", "P02"}));
  // In an edit box (the marker's, the find box's) they are the box's own: the find box's
  // dialog keys go to the box itself, which pastes the text.
  EXPECT_FALSE(PressCtrl(window.Item(IDC_MARKER_LATITUDE), 'V'));
  EXPECT_FALSE(PressCtrl(window.Item(IDC_MARKER_LATITUDE), 'C'));
  Command(ID_EDIT_FIND);
  ASSERT_TRUE(window.Finder().IsWindow());
  PutOnClipboard("P01");
  PressCtrl(window.Finder().Item(IDC_FIND_TEXT), 'V');
  EXPECT_EQ(window.Finder().ItemText(IDC_FIND_TEXT), "P01");
  PressCtrl(window.Finder().Item(IDC_FIND_TEXT), 'C');
  EXPECT_EQ(OnClipboard(), "P01");
  EXPECT_EQ(Points().GetPointCount(), 4);
}

}  // namespace
