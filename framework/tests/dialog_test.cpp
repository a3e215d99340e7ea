// The message tables, the dialog routes and the test hooks, driven by real messages.
#include "framework/dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/dialog_init_hooks.h"
#include "framework/testing/gui_test_support.h"
#include "framework/tests/test_dialogs.h"

namespace {

constexpr UINT kAskBoth = WM_APP + 1;
constexpr UINT kAskBase = WM_APP + 2;

std::vector<std::string> g_log;

// A list view that takes its own clicks (reflected from the parent).
class ClickList : public ListView {
  OSTREL_MESSAGE_TABLE();

 private:
  void OnClick(NMHDR*, LRESULT* result) {
    g_log.push_back("list click");
    *result = 7;
  }
};
const MessageEntry ClickList::kMessageEntries[] = {
    OnReflectedNotify<&ClickList::OnClick>(NM_CLICK),
};
OSTREL_DEFINE_MESSAGE_TABLE(ClickList, ListView);

// An edit that sees its texts being set and lets the edit set them.
class WatchedEdit : public Edit {
  OSTREL_MESSAGE_TABLE();

 private:
  LRESULT OnSetText(WPARAM, LPARAM) {
    const LRESULT result = Default();
    g_log.push_back("set text: " + Text());
    return result;
  }
};
const MessageEntry WatchedEdit::kMessageEntries[] = {
    OnMessage<&WatchedEdit::OnSetText>(WM_SETTEXT),
};
OSTREL_DEFINE_MESSAGE_TABLE(WatchedEdit, Edit);

class BaseDialog : public Dialog {
 public:
  using Dialog::Dialog;
  OSTREL_MESSAGE_TABLE();

 private:
  void OnButton() { g_log.push_back("base button"); }
  LRESULT OnAskBoth(WPARAM, LPARAM) { return 1; }
  LRESULT OnAskBase(WPARAM, LPARAM) { return 2; }
};
const MessageEntry BaseDialog::kMessageEntries[] = {
    OnCommand<&BaseDialog::OnButton>(IDC_TEST_BUTTON),
    OnMessage<&BaseDialog::OnAskBoth>(kAskBoth),
    OnMessage<&BaseDialog::OnAskBase>(kAskBase),
};
OSTREL_DEFINE_MESSAGE_TABLE(BaseDialog, Dialog);

class TestDialog : public BaseDialog {
 public:
  TestDialog() : BaseDialog(IDD_TEST_DIALOG) {}
  std::string m_text;
  ClickList m_list;
  WatchedEdit m_edit;

 protected:
  void DoDataExchange(DataExchange& dx) override {
    dx.Control(IDC_TEST_LIST, m_list);
    dx.Control(IDC_TEST_EDIT, m_edit);
    dx.Text(IDC_TEST_EDIT, m_text);
  }
  OSTREL_MESSAGE_TABLE();

 private:
  LRESULT OnAskBoth(WPARAM, LPARAM) { return 42; }
  void OnEditChange() { g_log.push_back("edit change"); }
  void OnListClick(NMHDR*, LRESULT*) { g_log.push_back("parent click"); }
  void OnListDoubleClick(NMHDR*, LRESULT* result) {
    g_log.push_back("parent double click");
    *result = 3;
  }
};
const MessageEntry TestDialog::kMessageEntries[] = {
    OnMessage<&TestDialog::OnAskBoth>(kAskBoth),
    OnControl<&TestDialog::OnEditChange>(EN_CHANGE, IDC_TEST_EDIT),
    OnNotify<&TestDialog::OnListClick>(NM_CLICK, IDC_TEST_LIST),
    OnNotify<&TestDialog::OnListDoubleClick>(NM_DBLCLK, IDC_TEST_LIST),
};
OSTREL_DEFINE_MESSAGE_TABLE(TestDialog, BaseDialog);

LRESULT SendNotify(const Dialog& dialog, int id, UINT code) {
  NMHDR header{dialog.Item(id), static_cast<UINT_PTR>(id), code};
  return dialog.Send(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
}

class InnerDialog : public Dialog {
 public:
  explicit InnerDialog(HWND parent) : Dialog(IDD_TEST_INNER, parent) {}
  std::string m_text;

 protected:
  void DoDataExchange(DataExchange& dx) override { dx.Text(IDC_TEST_EDIT, m_text); }
};

// Its button opens the inner dialog.
class OuterDialog : public TestDialog {
 public:
  std::string m_innerText;
  OSTREL_MESSAGE_TABLE();

 private:
  void OnButton() {
    InnerDialog inner(m_hwnd);
    if (inner.DoModal() == IDOK) m_innerText = inner.m_text;
    g_log.push_back("inner closed");
  }
};
const MessageEntry OuterDialog::kMessageEntries[] = {
    OnCommand<&OuterDialog::OnButton>(IDC_TEST_BUTTON),
};
OSTREL_DEFINE_MESSAGE_TABLE(OuterDialog, TestDialog);

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override { g_log.clear(); }
};

}  // namespace

TEST_F(DialogTest, TheClassTableIsSearchedBeforeTheBaseTable) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  g_log.clear();  // initialisation set the edit's text
  EXPECT_EQ(dialog.Send(kAskBoth), 42);
  EXPECT_EQ(dialog.Send(kAskBase), 2);
  dialog.Send(WM_COMMAND, MAKEWPARAM(IDC_TEST_BUTTON, BN_CLICKED),
              reinterpret_cast<LPARAM>(dialog.Item(IDC_TEST_BUTTON)));
  EXPECT_EQ(g_log, std::vector<std::string>{"base button"});
}

TEST_F(DialogTest, CommandsMatchTheirNotificationCode) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  g_log.clear();  // initialisation set the edit's text
  dialog.Send(WM_COMMAND, MAKEWPARAM(IDC_TEST_EDIT, EN_SETFOCUS), 0);
  dialog.Send(WM_COMMAND, MAKEWPARAM(IDC_TEST_BUTTON, BN_SETFOCUS), 0);
  EXPECT_TRUE(g_log.empty());
  // The subclassed edit's handler lets the edit set the text (which notifies the parent)
  // and then sees the new text.
  dialog.m_edit.SetText("abc");
  EXPECT_EQ(g_log, (std::vector<std::string>{"edit change", "set text: abc"}));
}

TEST_F(DialogTest, AControlTakesItsOwnNotificationsBeforeItsParent) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  g_log.clear();  // initialisation set the edit's text
  EXPECT_EQ(SendNotify(dialog, IDC_TEST_LIST, NM_CLICK), 7);
  EXPECT_EQ(SendNotify(dialog, IDC_TEST_LIST, NM_DBLCLK), 3);
  EXPECT_EQ(g_log, (std::vector<std::string>{"list click", "parent double click"}));
}

TEST_F(DialogTest, ModalDialogExchangesDataOnOkOnly) {
  TestDialog dialog;
  dialog.m_text = "前";
  {
    ScopedDialogInitHook hook(IDD_TEST_DIALOG, [](Dialog& d) {
      EXPECT_EQ(d.ItemText(IDC_TEST_EDIT), "前");
      d.SetItemText(IDC_TEST_EDIT, "後");
      d.PostCommand(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(hook.Calls(), 1);
  }
  EXPECT_EQ(dialog.m_text, "後");
  {
    ScopedDialogInitHook hook(IDD_TEST_DIALOG, [](Dialog& d) {
      d.SetItemText(IDC_TEST_EDIT, "捨てる");
      d.PostCommand(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  }
  EXPECT_EQ(dialog.m_text, "後");
  EXPECT_FALSE(dialog.IsWindow());
}

TEST_F(DialogTest, ARunAgainDialogBindsItsNewControls) {
  TestDialog dialog;
  HWND firstList = nullptr;
  {
    ScopedDialogInitHook hook(IDD_TEST_DIALOG, [&](Dialog& d) {
      firstList = d.Item(IDC_TEST_LIST);
      d.PostCommand(IDCANCEL);
    });
    dialog.DoModal();
  }
  ScopedDialogInitHook hook(IDD_TEST_DIALOG, [&](Dialog& d) {
    g_log.clear();
    EXPECT_EQ(dialog.m_list.Handle(), d.Item(IDC_TEST_LIST));
    EXPECT_EQ(SendNotify(static_cast<TestDialog&>(d), IDC_TEST_LIST, NM_CLICK), 7);
    d.PostCommand(IDCANCEL);
  });
  dialog.DoModal();
  EXPECT_EQ(g_log, std::vector<std::string>{"list click"});
  EXPECT_NE(firstList, nullptr);
}

TEST_F(DialogTest, NestedModalDialogsRunFromHandlers) {
  OuterDialog outer;
  ScopedDialogInitHook innerHook(IDD_TEST_INNER, [](Dialog& d) {
    EXPECT_NE(::GetWindow(d.Handle(), GW_OWNER), nullptr);
    d.SetItemText(IDC_TEST_EDIT, "内側の値");
    d.PostCommand(IDOK);
  });
  ScopedDialogInitHook outerHook(IDD_TEST_DIALOG, [](Dialog& d) {
    g_log.clear();
    d.PostCommand(IDC_TEST_BUTTON);
    d.PostCommand(IDOK);
  });
  EXPECT_EQ(outer.DoModal(), IDOK);
  EXPECT_EQ(outer.m_innerText, "内側の値");
  EXPECT_EQ(innerHook.Calls(), 1);
  EXPECT_EQ(g_log, std::vector<std::string>{"inner closed"});
}

TEST_F(DialogTest, CloseBoxAndEscapeEndTheDialogThroughCancel) {
  TestDialog dialog;
  ScopedDialogInitHook hook(IDD_TEST_DIALOG, [](Dialog& d) { d.Post(WM_CLOSE); });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);

  TestDialog modeless;
  ASSERT_TRUE(modeless.Create(nullptr));
  modeless.Send(WM_CLOSE);
  PumpMessages();
  EXPECT_FALSE(modeless.IsWindow());
}
