// The program started on what a careless or hostile user may hand it: each gets a clear
// message or a sound refusal, the window opens all the same, and no file is touched. The
// whole program runs (EditorApp, as wWinMain starts it); its boxes are scripted, so none can
// wait for a user, and the main window is closed as soon as it has opened.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "app/editor_app.h"
#include "app/tests/main_window_fixture.h"
#include "framework/dialog_init_hooks.h"
#include "framework/text_encoding.h"
#include "pointfile/testing/point_images.h"
#include "pointfile/testing/recording_message_sink.h"
#include "resources/resource.h"

namespace {

// What the main window showed when it had opened.
struct Opened {
  int rows = -1;
  std::string filePath;
};

class HostileInputTest : public MainWindowTest {
 protected:
  // Runs the program with `commandLine` (the text after the program's name) and closes it
  // once its main window is up. Returns what the window showed; the boxes are in m_prompts.
  Opened Run(const std::wstring& commandLine) {
    m_prompts.Clear();
    Opened opened;
    ScopedDialogInitHook hook(IDD_MAIN, [&opened](Dialog& d) {
      auto& main = static_cast<MainDialog&>(d);
      opened.rows = main.PointList().GetItemCount();
      opened.filePath = main.FilePath();
      d.PostCommand(IDCANCEL);
    });
    EditorApp app;
    const DWORD start = ::GetTickCount();
    app.InitInstance(commandLine.c_str());
    EXPECT_LT(::GetTickCount() - start, 15000u) << "the program took too long to open and close";
    EXPECT_EQ(hook.Calls(), 1);
    return opened;
  }

  std::wstring Wide(const std::string& path) const { return WidenText(path); }

  // The single message the run showed, or a failure.
  std::string OnlyMessage() const {
    EXPECT_EQ(m_prompts.Messages().size(), 1u);
    return m_prompts.Messages().empty() ? std::string() : m_prompts.Messages()[0];
  }
};

const std::string kBadPath = "不正パス";
const std::string kAccessDenied = "ファイル アクセス禁止";
const std::string kNotFound = "ファイル未定義";
const std::string kUnrecognised = "は認識できないファイルです";

}  // namespace

// A command line of 10,000 characters, paths past MAX_PATH (with and without \\?\), a
// directory, device names, a network path nobody answers, and a name Shift_JIS cannot hold.
TEST_F(HostileInputTest, PathsThatNameNoPointFileGetOneClearMessage) {
  const std::wstring dir = Wide(m_dir.Path());
  // A point file more than 260 characters down, made through the \\?\ form.
  std::wstring deep = dir;
  for (int level = 0; level < 3; ++level) {
    deep += std::wstring(90, static_cast<wchar_t>(L'k' + level)) + L"\\";
    ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
  }
  deep += L"deep.pnt";
  ASSERT_GT(deep.size(), 300u);
  {
    Win32FileStore store;
    RecordingMessageSink sink;
    ASSERT_EQ(Loaded(ImageWithPoints(4)).SaveFile(NarrowText(L"\\\\?\\" + deep), store, sink), 0);
  }
  ASSERT_TRUE(::CreateDirectoryW((dir + L"folder.pnt").c_str(), nullptr));

  struct Case {
    std::wstring commandLine;
    std::string message;  // a part of the one message; empty: none, the file opens
    int rows;
  };
  const std::vector<Case> cases = {
      {L"\"" + dir + std::wstring(10000, L'a') + L".pnt\"", kNotFound, 0},
      {L"\"" + deep + L"\"", "", 4},
      {L"\"\\\\?\\" + deep + L"\"", "", 4},
      {dir.substr(0, dir.size() - 1), kUnrecognised, 0},
      {dir + L"folder.pnt", kAccessDenied, 0},
      {L"CON", kUnrecognised, 0},
      {L"NUL", kUnrecognised, 0},
      {L"COM1", kUnrecognised, 0},
      {L"aux.pnt", kAccessDenied, 0},
      {dir + L"NUL.pnt", kAccessDenied, 0},
      {L"\\\\nohost.invalid\\share\\a.pnt", kBadPath, 0},
      {dir + L"\uD55C.pnt", "開けません", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(NarrowText(c.commandLine.substr(0, 120)));
    const Opened opened = Run(c.commandLine);
    EXPECT_EQ(opened.rows, c.rows);
    if (c.message.empty()) {
      EXPECT_TRUE(m_prompts.Messages().empty());
    } else {
      EXPECT_NE(OnlyMessage().find(c.message), std::string::npos);
    }
  }
  EXPECT_EQ(ReadFileBytes(NarrowText(L"\\\\?\\" + deep)), ImageWithPoints(4));
}

// Files of the wrong size, and one whose every slot holds garbage: each opens as far as it
// is a point file, and a save writes exactly one whole image.
TEST_F(HostileInputTest, OddSizedAndGarbageFilesOpenAndSaveWhole) {
  const Image sample = ImageWithPoints(12);
  struct Case {
    std::size_t size;
    int rows;
  };
  for (const Case& c : {Case{0, 0}, Case{10, 0}, Case{64047, 12}, Case{64049, 12}, Case{70000, 12}}) {
    SCOPED_TRACE(c.size);
    Image bytes(sample.begin(), sample.begin() + static_cast<std::ptrdiff_t>(std::min(c.size, sample.size())));
    bytes.resize(c.size, 0x5A);
    const std::string path = m_dir.File("odd.pnt");
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    EXPECT_EQ(Run(Wide(path)).rows, c.rows);
    EXPECT_TRUE(m_prompts.Messages().empty());

    MainDialog& d = Start(path);
    d.Points().InsertRecord(0);
    d.Send(WM_COMMAND, ID_FILE_SAVE);
    const Image saved = ReadFileBytes(path);
    ASSERT_EQ(saved.size(), kPointFileLength);
    EXPECT_TRUE(std::equal(saved.begin() + kHeaderLength + PointRecord::kEncodedLength, saved.end(),
                           (c.size < kHeaderLength ? EmptyImage() : ImageWithPoints(12)).begin() + kHeaderLength));
  }

  std::mt19937 rng(7);
  const Image garbage = RandomImage(rng, 1.0);  // every slot in use, every byte random
  const std::string path = m_dir.File("garbage.pnt");
  ASSERT_TRUE(WriteFileBytes(path, garbage));
  EXPECT_EQ(Run(Wide(path)).rows, 250);
  EXPECT_TRUE(m_prompts.Messages().empty());
  EXPECT_EQ(ReadFileBytes(path), garbage);
}
