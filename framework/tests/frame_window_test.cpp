// A top-level window of its own class: created with its menu and title, its table gets
// commands and messages, the rest gets the default handling, and closing destroys it.
#include "framework/frame_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/testing/gui_test_support.h"
#include "framework/tests/test_dialogs.h"

namespace {

constexpr UINT kPing = WM_APP + 5;

class LoggingFrame : public FrameWindow {
 public:
  std::vector<std::string> log;
  UINT registered = ::RegisterWindowMessageW(L"OSTREL_FRAME_TEST");
  OSTREL_MESSAGE_TABLE();

 private:
  bool PreDispatch(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
    if (message != registered) return false;
    log.push_back("registered " + std::to_string(wParam));
    result = 9;
    return true;
  }
  LRESULT OnCreate(WPARAM, LPARAM) {
    log.push_back("create");
    return 0;
  }
  void OnItem() { log.push_back("item"); }
  LRESULT OnPing(WPARAM wParam, LPARAM) {
    log.push_back("ping " + std::to_string(wParam));
    return 42;
  }
  LRESULT OnSetText(WPARAM, LPARAM) {
    log.push_back("set text");
    return Default();
  }
  LRESULT OnDestroy(WPARAM, LPARAM) {
    log.push_back("destroy");
    return 0;
  }
};
const MessageEntry LoggingFrame::kMessageEntries[] = {
    OnMessage<&LoggingFrame::OnCreate>(WM_CREATE),
    OnCommand<&LoggingFrame::OnItem>(IDM_TEST_ITEM),
    OnMessage<&LoggingFrame::OnPing>(kPing),
    OnMessage<&LoggingFrame::OnSetText>(WM_SETTEXT),
    OnMessage<&LoggingFrame::OnDestroy>(WM_DESTROY),
};
OSTREL_DEFINE_MESSAGE_TABLE(LoggingFrame, FrameWindow);

const FrameWindowClass kTestClass{L"OstrelTestFrame"};

TEST(FrameWindow, CreatesATitledWindowWithItsMenuAndRoutesItsMessages) {
  LoggingFrame frame;
  ASSERT_TRUE(frame.Create(kTestClass, "地図", IDR_TEST_MENU, 400, 300));
  EXPECT_EQ(frame.log, std::vector<std::string>{"create"});
  EXPECT_EQ(frame.Text(), "地図");
  EXPECT_EQ(Menu(frame.GetMenu()).SubMenu(0).ItemId(0), static_cast<UINT>(IDM_TEST_ITEM));
  // The window is found the way other programs find it: a top-level window by its title.
  EXPECT_EQ(::FindWindowW(nullptr, L"地図"), frame.Handle());

  frame.PostCommand(IDM_TEST_ITEM);
  frame.Post(kPing, 7);
  PumpMessages();
  EXPECT_EQ(frame.Send(kPing, 8), 42);
  EXPECT_EQ(frame.Send(frame.registered, 3), 9);
  // The handler asked for the default handling: the title changed all the same.
  frame.SetText("Quorvin");
  EXPECT_EQ(frame.Text(), "Quorvin");
  EXPECT_EQ(frame.log, (std::vector<std::string>{"create", "item", "ping 7", "ping 8", "registered 3", "set text"}));
}

TEST(FrameWindow, ClosesOnWmCloseAndAGoneObjectLeavesNoWindow) {
  LoggingFrame frame;
  ASSERT_TRUE(frame.Create(kTestClass, "a", 0, 200, 100));
  EXPECT_EQ(frame.GetMenu(), nullptr);
  const HWND hwnd = frame.Handle();
  frame.Post(WM_CLOSE);
  PumpMessages();
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(frame.Handle(), nullptr);
  EXPECT_EQ(frame.log.back(), "destroy");

  HWND left;
  {
    LoggingFrame shortLived;
    ASSERT_TRUE(shortLived.Create(kTestClass, "b", IDR_TEST_MENU, 200, 100));
    left = shortLived.Handle();
  }
  EXPECT_FALSE(::IsWindow(left));
}

}  // namespace
