// The point edit dialog through its own controls: what it opens with, the icon preview,
// and the checks on OK.
#include "app/tests/editing_fixture.h"

#include "framework/controls.h"
#include "app/point_edit_dialog.h"

namespace {

class PointEditDialogTest : public EditingTest {
 protected:
  // Runs Add (or Edit of row 0) with `fill` as the user; returns the messages shown.
  void Run(int command, std::function<void(PointEditDialog&)> fill) {
    ScopedDialogInitHook hook(IDD_POINT_EDIT, [&](Dialog& d) { fill(dynamic_cast<PointEditDialog&>(d)); });
    Command(command);
    ASSERT_EQ(hook.Calls(), 1);
  }
  static HICON Preview(Dialog& d) { return Static(d.Item(IDC_POINT_ICON)).GetIcon(); }
};

TEST_F(PointEditDialogTest, ANewPointOpensEmptyWithIconOneAndFanfare) {
  Run(IDC_ADD_POINT, [](PointEditDialog& d) {
    for (int id : {IDC_POINT_NAME, IDC_POINT_NICKNAME, IDC_POINT_LOCATION, IDC_POINT_PHONE,
                   IDC_POINT_LONGITUDE, IDC_POINT_LATITUDE, IDC_POINT_DATE, IDC_POINT_TIME}) {
      EXPECT_EQ(d.ItemText(id), "") << id;
    }
    EXPECT_EQ(d.ItemText(IDC_POINT_ICON_NUMBER), "1");
    EXPECT_NE(Preview(d), nullptr);
    ComboBox voice(d.Item(IDC_POINT_VOICE));
    EXPECT_EQ(voice.GetCount(), 17);
    EXPECT_EQ(voice.GetCurSel(), 1);
    EXPECT_EQ(voice.GetLBText(1), "ファンファーレ");
    EXPECT_EQ(voice.GetLBText(16), "まもなく危険地点です");
    EXPECT_FALSE(Window(d.Item(IDC_POINT_DATE)).IsEnabled());
    EXPECT_FALSE(Window(d.Item(IDC_POINT_TIME)).IsEnabled());
    EXPECT_EQ(d.Text(), "編集");
    d.PostCommand(IDCANCEL);
  });
  EXPECT_EQ(Points().GetPointCount(), 0);
  EXPECT_FALSE(Points().IsModified());
}

TEST_F(PointEditDialogTest, ThePreviewFollowsTheNumberAndAnyNumberUpTo181IsStored) {
  OpenFile(NumberedPoints(1));
  SelectRows({0});
  Run(IDC_EDIT_POINT, [](PointEditDialog& d) {
    EXPECT_EQ(d.ItemText(IDC_POINT_DATE), "2024/05/06");
    EXPECT_EQ(d.ItemText(IDC_POINT_TIME), "12:34:56");
    d.SetItemText(IDC_POINT_ICON_NUMBER, "12");
    EXPECT_NE(Preview(d), nullptr);
    d.SetItemText(IDC_POINT_ICON_NUMBER, "60");
    EXPECT_EQ(Preview(d), nullptr);  // no picture beyond 55
    // The spin's arrows stay within 1-181.
    SpinButton spin(d.Item(IDC_POINT_ICON_SPIN));
    int lower = 0, upper = 0;
    spin.Send(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(upper, 181);
    d.PostCommand(IDOK);
  });
  EXPECT_EQ(Points().GetIcon(0), 60);
  EXPECT_EQ(List().GetItemImage(0), -1);
}

TEST_F(PointEditDialogTest, TextThatIsNoIconNumberKeepsTheLastValidOne) {
  OpenFile(NumberedPoints(1));
  SelectRows({0});
  Run(IDC_EDIT_POINT, [](PointEditDialog& d) {
    d.SetItemText(IDC_POINT_ICON_NUMBER, "33");
    d.SetItemText(IDC_POINT_ICON_NUMBER, "500");
    d.PostCommand(IDOK);
  });
  EXPECT_EQ(Points().GetIcon(0), 33);
}

TEST_F(PointEditDialogTest, OkAsksForTheNameFirstThenForPlausibleDegreesAndStaysOpen) {
  struct Case {
    PointTyping typing;
    const char* message;
  } cases[] = {
      {{"", "", "", "", "0", "0", "", -1}, "地点名称を入力してください。"},
      {{"x", "", "", "", "35/39/29.000", "139/44/28.000", "", -1}, "緯度、経度を正しく入力してください。"},
  };
  for (const Case& c : cases) {
    prompts.Clear();
    ScopedDialogInitHook hook(IDD_POINT_EDIT, [&](Dialog& d) { TypeIntoEditDialog(d, c.typing); });
    Command(IDC_ADD_POINT);
    EXPECT_EQ(prompts.Messages(), std::vector<std::string>{c.message}) << c.typing.longitude;
    EXPECT_EQ(Points().GetPointCount(), 0);  // the dialog stayed open; Cancel ended it
  }
  // The bounds themselves pass, whatever the minutes and seconds.
  ScopedDialogInitHook hook(IDD_POINT_EDIT, [](Dialog& d) {
    TypeIntoEditDialog(d, {"x", "", "", "", "146/59/59.999", "45/59/59.999", "", -1});
  });
  Command(IDC_ADD_POINT);
  EXPECT_EQ(Points().GetPointCount(), 1);
}

TEST_F(PointEditDialogTest, AnUnknownVoiceCodeOpensAsNoVoiceAndIsStoredSo) {
  PointFile file = NumberedPoints(1);
  file.SetVoiceCode(0, 0x200);
  file.UpdateChecksum(0);
  file.SetModified(0);
  OpenFile(file);
  SelectRows({0});
  Run(IDC_EDIT_POINT, [](PointEditDialog& d) {
    EXPECT_EQ(ComboBox(d.Item(IDC_POINT_VOICE)).GetCurSel(), 0);
    d.PostCommand(IDOK);
  });
  EXPECT_EQ(Points().GetVoiceCode(0), 0x3E0);
}

TEST_F(PointEditDialogTest, AVoiceLabelTypedInFullCountsAsChosen) {
  OpenFile(NumberedPoints(2));
  SelectRows({0});
  Run(IDC_EDIT_POINT, [](PointEditDialog& d) {
    ComboBox voice(d.Item(IDC_POINT_VOICE));
    voice.SetCurSel(-1);
    voice.SetText("怪獣");
    d.PostCommand(IDOK);
  });
  EXPECT_EQ(Points().GetVoiceCode(0), 0x080);

  SelectRows({1});
  Run(IDC_EDIT_POINT, [](PointEditDialog& d) {
    ComboBox voice(d.Item(IDC_POINT_VOICE));
    voice.SetCurSel(-1);
    voice.SetText("gibberish");  // matches nothing: the choice it opened with stays
    d.PostCommand(IDOK);
  });
  EXPECT_EQ(Points().GetVoiceCode(1), 0x000);
  EXPECT_TRUE(Points().IsUsed(1));
}

}  // namespace
