// The find box: rows selected as the text is typed, with the foldings; find next going
// round; Esc; a text far longer than any field.
#include "app/tests/editing_fixture.h"

namespace {

class FindTest : public EditingTest {
 protected:
  void Type(const std::string& text) {
    window.Finder().SetItemText(IDC_FIND_TEXT, text);
    PumpMessages();
  }
  int Focused() { return List().GetNextItem(-1, LVNI_FOCUSED); }
};

TEST_F(FindTest, SelectsEveryRowHoldingTheTextAndGoesRoundWithFindNext) {
  PointFile file = NumberedPoints(60);
  file.SetNickname(3, "とうきょう");
  file.SetNickname(57, "ﾄｳｷｮｳ");
  file.SetPhone(40, "03-1234");
  for (int slot : {3, 57, 40}) file.UpdateChecksum(slot);
  OpenFile(WithStrayPoint(file, 70, "Toukyou"));
  Command(ID_EDIT_FIND);
  ASSERT_TRUE(window.Finder().IsWindow());
  EXPECT_EQ(::GetWindow(window.Finder().Handle(), GW_OWNER), window.Handle());
  EXPECT_EQ(::GetFocus(), window.Finder().Item(IDC_FIND_TEXT));

  Type("トウキョウ");
  EXPECT_EQ(SelectedRows(), (std::vector<int>{3, 57}));
  EXPECT_EQ(Focused(), 3);
  Command(ID_EDIT_REPEAT);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{57}));
  Command(ID_EDIT_REPEAT);  // round to the first
  EXPECT_EQ(SelectedRows(), (std::vector<int>{3}));
  Type("０３－");  // full-width, in the phone
  EXPECT_EQ(SelectedRows(), (std::vector<int>{40}));
  Type("p5");
  EXPECT_EQ(SelectedRows(), (std::vector<int>{50, 51, 52, 53, 54, 55, 56, 57, 58, 59}));
  EXPECT_EQ(Focused(), 50);
  // The rows stay: row i is slot i, whatever is found.
  ExpectListMatchesTable();

  // A point behind a gap is found and scrolled into view.
  Type("TOUKYOU");
  EXPECT_EQ(SelectedRows(), (std::vector<int>{70}));
  EXPECT_GE(static_cast<int>(List().Send(LVM_GETTOPINDEX)) + static_cast<int>(List().Send(LVM_GETCOUNTPERPAGE)), 70);
  // Enter in the box is find next too.
  Type("p0");
  window.Finder().Send(WM_COMMAND, IDOK);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{1}));
  EXPECT_FALSE(Points().IsModified());
}

TEST_F(FindTest, ALongTextFindsNothingAndEscClosesTheBox) {
  OpenFile(NumberedPoints(5));
  Command(ID_EDIT_FIND);
  Type(std::string(10000, 'P'));
  EXPECT_TRUE(SelectedRows().empty());
  EXPECT_EQ(window.Finder().ItemText(IDC_FIND_TEXT).size(), 10000u);
  Command(ID_EDIT_REPEAT);
  EXPECT_TRUE(SelectedRows().empty());
  window.Finder().Send(WM_COMMAND, IDCANCEL);
  EXPECT_FALSE(window.Finder().IsWindow());
  // Opened again, it comes back with an empty field.
  Command(ID_EDIT_FIND);
  EXPECT_TRUE(window.Finder().IsVisible());
}

}  // namespace
