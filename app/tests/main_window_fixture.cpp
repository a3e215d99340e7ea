#include "app/tests/main_window_fixture.h"

#include "framework/text_encoding.h"

namespace {

class DiscardMessages final : public MessageSink {
 public:
  void ShowMessage(const std::string&) override {}
};

}  // namespace

MainWindowTest::MainWindowTest() = default;

MainWindowTest::~MainWindowTest() {
  m_dialog.reset();
  PumpMessages();
  if (!m_helperPath.empty()) ::DeleteFileW(WidenText(m_helperPath).c_str());
}

MainDialog& MainWindowTest::Start(const std::string& commandLine) {
  m_dialog = std::make_unique<MainDialog>(commandLine);
  EXPECT_TRUE(m_dialog->Create(nullptr));
  PumpMessages();
  return *m_dialog;
}

std::string MainWindowTest::MakePointFile(const std::string& name, int count) {
  PointFile file;
  for (int i = 0; i < count; ++i) {
    file.InsertRecord(i);
    file.SetName(i, std::string("P").append(std::to_string(i + 1)));
    file.SetLongitudeText(i, "139/45/00.000");
    file.SetLatitudeText(i, " 35/40/00.000");
    file.UpdateChecksum(i);
  }
  const std::string path = m_dir.File(name);
  Win32FileStore store;
  DiscardMessages sink;
  EXPECT_EQ(file.SaveFile(path, store, sink), 0);
  return path;
}

void MainWindowTest::InstallHelper() {
  m_helperPath = ProgramDirectory() + "Quorvin2.exe";
  ASSERT_TRUE(WriteFileBytes(m_helperPath, {}));
}

RECT MainWindowTest::ControlRect(int id) const { return Window(m_dialog->Item(id)).RectInParent(); }

bool MainWindowTest::ControlVisible(int id) const { return Window(m_dialog->Item(id)).IsVisible(); }

void MainWindowTest::SetClientSize(int width, int height) {
  const RECT outer = m_dialog->WindowRect();
  const RECT client = m_dialog->ClientRect();
  ::SetWindowPos(m_dialog->Handle(), nullptr, 0, 0, width + Width(outer) - Width(client),
                 height + Height(outer) - Height(client), SWP_NOMOVE | SWP_NOZORDER);
  PumpMessages();
}
