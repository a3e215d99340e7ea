// The point list: what it shows, the row click, the marks, and dragging rows.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/tests/editing_fixture.h"
#include "framework/text_encoding.h"
#include "lists/point_icons.h"

namespace {

POINT RowCentre(const PointListView& list, int row) {
  RECT r{};
  list.GetItemRect(row, r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class PointListTest : public EditingTest {
 protected:
  // A drag as the list sees it: begin-drag on `from`, the mouse moved to `at` (list
  // client coordinates), the button released there.
  void Drag(int from, POINT at) {
    NotifyFromList(LVN_BEGINDRAG, from);
    List().Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    List().Send(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  }
  void DragOnto(int from, int to) {
    List().EnsureVisible(to, false);
    Drag(from, RowCentre(List(), to));
  }
  std::vector<std::string> Names(std::initializer_list<int> numbers) {
    std::vector<std::string> names;
    for (int n : numbers) names.push_back((n < 10 ? "P0" : "P") + std::to_string(n));
    return names;
  }
};

TEST_F(PointListTest, ShowsOneRowPerPointWithItsIconAndTheCount) {
  const std::string path = OpenFile(NumberedPoints(12));
  EXPECT_EQ(List().GetItemCount(), 12);
  ExpectListMatchesTable();
  EXPECT_EQ(RowTexts(6).icon, "07");
  EXPECT_EQ(List().GetItemImage(6), 6);
  EXPECT_EQ(RowTexts(0).longitude, "139/44/28.000");
  EXPECT_EQ(RowTexts(0).latitude, " 35/39/29.000");
  EXPECT_EQ(window.Status().PaneText(0), path);
  EXPECT_EQ(window.Status().PaneText(2), "地点登録数  12");

  OpenFile(PointFile(), "empty.pnt");
  EXPECT_EQ(List().GetItemCount(), 0);
  EXPECT_EQ(window.Status().PaneText(2), "地点登録数  0");

  OpenFile(NumberedPoints(kSlotCount), "full.pnt");
  EXPECT_EQ(List().GetItemCount(), kSlotCount);
  ExpectListMatchesTable();
}

TEST_F(PointListTest, ARowBatchLeavesAShownListShownAndAHiddenListHidden) {
  auto shown = [](const Window& w) { return (::GetWindowLongPtrW(w, GWL_STYLE) & WS_VISIBLE) != 0; };
  window.Show(SW_SHOW);
  OpenFile(NumberedPoints(30));
  EXPECT_TRUE(shown(List()));
  EXPECT_TRUE(List().IsVisible());
  EXPECT_EQ(List().GetItemCount(), 30);

  // The import screen hides nothing of the point list, but a list hidden for any reason
  // must not come back from a batch of rows.
  List().Show(SW_HIDE);
  OpenFile(NumberedPoints(5), "other.pnt");
  EXPECT_FALSE(shown(List()));
  EXPECT_EQ(List().GetItemCount(), 5);
  List().Show(SW_SHOW);
}

TEST_F(PointListTest, HasTheColumnsColoursAndStylesOfThePointList) {
  const char* headings[] = {"アイコン", "名称", "愛称", "位置", "ＴＥＬ", "経度", "緯度"};
  const int widths[] = {60, 180, 120, 180, 100, 100, 100};
  ASSERT_EQ(List().ColumnCount(), 7);
  for (int c = 0; c < 7; ++c) {
    EXPECT_EQ(List().GetColumnText(c), headings[c]);
    EXPECT_EQ(List().GetColumnWidth(c), widths[c]);
  }
  EXPECT_EQ(List().GetExtendedStyle() & 0x21u, 0x21u);
  EXPECT_EQ(List().GetBkColor(), RGB(52, 95, 129));
  EXPECT_EQ(List().GetTextBkColor(), RGB(52, 95, 129));
  EXPECT_EQ(List().GetTextColor(), RGB(255, 255, 255));
  // Both lists show the window's image lists, so neither may destroy them with itself.
  EXPECT_TRUE(::GetWindowLongPtrW(List().Handle(), GWL_STYLE) & LVS_SHAREIMAGELISTS);
  EXPECT_EQ(List().GetImageList(LVSIL_SMALL), window.Icons().Small().Handle());
  EXPECT_EQ(List().GetImageList(LVSIL_NORMAL), window.Icons().Large().Handle());
  EXPECT_EQ(window.Icons().Small().GetImageCount(), 55);
  EXPECT_EQ(window.Icons().Large().GetImageCount(), 55);
}

TEST_F(PointListTest, AGapInAForeignFileShowsAsBlankRowsSoRowsStayOnTheirSlots) {
  OpenFile(WithStrayPoint(NumberedPoints(3), 6, "STRAY"));
  ASSERT_EQ(List().GetItemCount(), 7);
  EXPECT_EQ(RowTexts(4), PointTextRow{});
  EXPECT_EQ(List().GetItemImage(4), -1);
  EXPECT_EQ(RowTexts(6).name, "STRAY");
  ExpectListMatchesTable();
}

TEST_F(PointListTest, ClickReportsTheFirstSelectedRowInTheStatusBar) {
  OpenFile(NumberedPoints(20));
  SelectRows({11, 14});
  EXPECT_EQ(NotifyFromList(NM_CLICK, 14), 0);
  EXPECT_EQ(window.Status().PaneText(1), "  12行");
  EXPECT_TRUE(List().GetItemState(11, LVIS_FOCUSED));

  SelectRows({});
  window.Status().SetPaneText(1, "");
  NotifyFromList(NM_CLICK, -1);
  EXPECT_EQ(window.Status().PaneText(1), "");
}

TEST_F(PointListTest, SelectAllAndDeselectSetMarksButKeepTheSelection) {
  OpenFile(NumberedPoints(4));
  SelectRows({1});
  Command(IDM_SELECT_ALL);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(List().GetItemState(i, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
  Command(IDM_DESELECT_ALL);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(List().GetItemState(i, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));
  EXPECT_EQ(SelectedRows(), std::vector<int>{1});
  EXPECT_FALSE(Points().IsModified());
}

TEST_F(PointListTest, DraggingARowUpOrDownMovesItsPointToo) {
  OpenFile(NumberedPoints(8));
  SelectRows({5});
  DragOnto(5, 2);
  EXPECT_EQ(RowNames(), Names({0, 1, 5, 2, 3, 4, 6, 7}));
  EXPECT_EQ(SelectedRows(), std::vector<int>{2});  // the selection moved with the row
  ExpectListMatchesTable();
  EXPECT_TRUE(Points().IsModified());
  EXPECT_FALSE(List().IsDragging());

  DragOnto(0, 4);  // before row 4: the point ends at index 3
  EXPECT_EQ(RowNames(), Names({1, 5, 2, 0, 3, 4, 6, 7}));
  ExpectListMatchesTable();
}

TEST_F(PointListTest, DroppingOnItselfOrItsNextRowMovesNothing) {
  OpenFile(NumberedPoints(8));
  DragOnto(3, 4);
  DragOnto(3, 3);
  EXPECT_EQ(RowNames(), Names({0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_FALSE(Points().IsModified());
}

TEST_F(PointListTest, DroppingBelowTheRowsOrOnTheHeadersMovesToTheEndOrTop) {
  OpenFile(NumberedPoints(5));
  const RECT client = List().ClientRect();
  Drag(1, {client.right / 2, client.bottom - 3});
  EXPECT_EQ(RowNames(), Names({0, 2, 3, 4, 1}));
  Drag(3, {client.right / 2, 5});
  EXPECT_EQ(RowNames(), Names({4, 0, 2, 3, 1}));
  // The lower part of the headers, down to the first row, counts as the top as well.
  RECT first{};
  List().GetItemRect(0, first);
  Drag(4, {client.right / 2, first.top - 2});
  EXPECT_EQ(RowNames(), Names({1, 4, 0, 2, 3}));
  ExpectListMatchesTable();
}

TEST_F(PointListTest, ReleasingOutsideTheListMovesNothingAndClearsTheHighlight) {
  OpenFile(NumberedPoints(5));
  const POINT over = RowCentre(List(), 3);
  NotifyFromList(LVN_BEGINDRAG, 0);
  List().Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(over.x, over.y));
  EXPECT_EQ(List().DropTarget(), 3);
  EXPECT_TRUE(List().GetItemState(3, LVIS_DROPHILITED));
  List().Send(WM_LBUTTONUP, 0, MAKELPARAM(-20, over.y));
  EXPECT_FALSE(List().GetItemState(3, LVIS_DROPHILITED));
  EXPECT_FALSE(List().IsDragging());
  EXPECT_EQ(RowNames(), Names({0, 1, 2, 3, 4}));
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(PointListTest, AFullListDragsAndStaysInStepWithTheTable) {
  OpenFile(NumberedPoints(kSlotCount));
  DragOnto(200, 10);
  EXPECT_EQ(RowTexts(10).name, "P200");
  ExpectListMatchesTable();
  Drag(0, {List().ClientRect().right / 2, List().ClientRect().bottom - 3});
  ExpectListMatchesTable();
}

TEST_F(PointListTest, APointBehindAGapCannotBeDraggedAndItsRowStays) {
  OpenFile(WithStrayPoint(NumberedPoints(3), 5, "STRAY"));
  DragOnto(5, 0);
  EXPECT_EQ(RowTexts(5).name, "STRAY");
  EXPECT_EQ(RowTexts(0).name, "P00");
  ExpectListMatchesTable();
}

// One picture of an icon file, `size` pixels square: 32-bit with a soft-edged disc of
// alpha, or 4-bit with a mask (as older sets of pictures are), in colours that depend on
// `seed`.
struct IconPicture {
  int size, bits;
  std::vector<unsigned char> bytes;  // header, palette, colour rows, mask rows
};

void PutLittle(std::vector<unsigned char>& out, unsigned value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

IconPicture MakeIconPicture(int size, bool alpha, int seed) {
  const int bits = alpha ? 32 : 4;
  const int colourStride = (size * bits / 8 + 3) / 4 * 4;
  const int maskStride = (size + 31) / 32 * 4;
  std::vector<unsigned char> picture;
  auto put = [&](unsigned value, int bytes) { PutLittle(picture, value, bytes); };
  put(40, 4), put(size, 4), put(2 * size, 4), put(1, 2), put(bits, 2);  // the picture's header
  put(0, 4), put(0, 4), put(0, 4), put(0, 4), put(0, 4), put(0, 4);
  for (int i = 0; i < 16 && !alpha; ++i) put((i * 16 + seed) << 8 | i * 15, 4);
  const double centre = (size - 1) / 2.0, radius = size / 2.0;
  auto distance = [&](int x, int y) { return std::hypot(x - centre, y - centre); };
  for (int y = size - 1; y >= 0; --y) {  // rows bottom-up
    std::vector<unsigned char> row(colourStride);
    for (int x = 0; x < size; ++x) {
      if (alpha) {
        const double edge = std::clamp(radius - distance(x, y), 0.0, 1.5) / 1.5;
        const unsigned a = static_cast<unsigned>(edge * 255);
        const unsigned pixel = a << 24 | (x * 8 + seed) % 256 << 16 | (y * 8) % 256 << 8 | (seed * 40) % 256;
        std::memcpy(&row[x * 4], &pixel, 4);
      } else {
        row[x / 2] |= ((x + y + seed) % 16) << (x % 2 ? 0 : 4);
      }
    }
    picture.insert(picture.end(), row.begin(), row.end());
  }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<unsigned char> row(maskStride);
    for (int x = 0; x < size; ++x) {
      if (distance(x, y) >= radius - 1) row[x / 8] |= 0x80 >> (x % 8);
    }
    picture.insert(picture.end(), row.begin(), row.end());
  }
  return {size, bits, picture};
}

// An icon file holding `pictures` in this order.
std::vector<unsigned char> IconFile(const std::vector<IconPicture>& pictures) {
  std::vector<unsigned char> file;
  PutLittle(file, 0, 2), PutLittle(file, 1, 2), PutLittle(file, static_cast<unsigned>(pictures.size()), 2);
  unsigned offset = static_cast<unsigned>(6 + 16 * pictures.size());
  for (const IconPicture& p : pictures) {
    PutLittle(file, p.size, 1), PutLittle(file, p.size, 1), PutLittle(file, 0, 1), PutLittle(file, 0, 1);
    PutLittle(file, 1, 2), PutLittle(file, p.bits, 2);
    PutLittle(file, static_cast<unsigned>(p.bytes.size()), 4), PutLittle(file, offset, 4);
    offset += static_cast<unsigned>(p.bytes.size());
  }
  for (const IconPicture& p : pictures) file.insert(file.end(), p.bytes.begin(), p.bytes.end());
  return file;
}

std::vector<unsigned char> IconFile(int size, bool alpha, int seed) {
  return IconFile({MakeIconPicture(size, alpha, seed)});
}

// Image `index` drawn on the list's background, as the list draws it (normal, and as
// selected), and its mask; one pixel per value, colour only.
std::vector<COLORREF> Drawn(HIMAGELIST list, int index) {
  int cx = 0, cy = 0;
  ::ImageList_GetIconSize(list, &cx, &cy);
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, cx * 3, cy);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  HBRUSH background = ::CreateSolidBrush(kPointListBackground);
  const RECT all{0, 0, cx * 3, cy};
  ::FillRect(dc, &all, background);
  ::DeleteObject(background);
  ::ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
  ::ImageList_Draw(list, index, dc, cx, 0, ILD_SELECTED);
  ::ImageList_Draw(list, index, dc, 2 * cx, 0, ILD_MASK);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < cx * 3; ++x) pixels.push_back(::GetPixel(dc, x, y));
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  return pixels;
}

// Two drawings agree when no colour channel differs by more than one step (the lists'
// alpha is rounded once more on the way in).
bool SameDrawing(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    for (int shift : {0, 8, 16}) {
      if (std::abs(static_cast<int>(a[i] >> shift & 0xFF) - static_cast<int>(b[i] >> shift & 0xFF)) > 1) return false;
    }
  }
  return true;
}

TEST(PointIcons, EachListShowsEveryIconAsAddingItOnItsOwnWould) {
  // Pictures of both kinds, at the small size (which the large list doubles) and at the
  // large size (shown in the large list only: shrinking them, the system picks its pixels
  // its own way), and gaps where the built-in icon stands in. Files the program reads
  // itself, and files it leaves to the system: two pictures of the first one's size (the
  // system picks one by colour depth), a damaged file.
  TempDirectory icons;
  ASSERT_TRUE(WriteFileBytes(icons.File("mark01.ico"), IconFile(16, true, 1)));
  ASSERT_TRUE(WriteFileBytes(icons.File("mark02.ico"), IconFile(32, true, 2)));
  ASSERT_TRUE(WriteFileBytes(icons.File("mark03.ico"), IconFile(16, false, 3)));
  ASSERT_TRUE(WriteFileBytes(icons.File("mark04.ico"),
                             IconFile({MakeIconPicture(16, false, 4), MakeIconPicture(16, true, 4)})));
  ASSERT_TRUE(WriteFileBytes(icons.File("mark05.ico"), IconFile(32, false, 5)));
  std::vector<unsigned char> damaged = IconFile(16, true, 6);
  damaged.resize(damaged.size() / 2);
  ASSERT_TRUE(WriteFileBytes(icons.File("mark06.ico"), damaged));
  // As the program's own sets are made: the small picture first.
  ASSERT_TRUE(WriteFileBytes(icons.File("mark07.ico"),
                             IconFile({MakeIconPicture(16, true, 7), MakeIconPicture(32, true, 7)})));
  ASSERT_TRUE(WriteFileBytes(icons.File("mark55.ico"), IconFile(16, true, 55)));
  const std::vector<int> largeOnly = {1, 4};
  wchar_t previous[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(::SetCurrentDirectoryW(icons.WidePath().c_str()));
  MainDialog window("");
  ASSERT_TRUE(window.Create(nullptr));

  // The reference: each icon loaded and added on its own, the built-in one shared.
  HICON missing = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MISSING_POINT),
                                                  IMAGE_ICON, 0, 0, LR_SHARED));
  ImageList small, large;
  small.Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
  large.Create(32, 32, ILC_COLOR32 | ILC_MASK, 4, 4);
  for (int n = 1; n <= kPointIconCount; ++n) {
    wchar_t name[16];
    std::swprintf(name, 16, L"mark%02d.ico", n);
    HICON icon = static_cast<HICON>(::LoadImageW(nullptr, name, IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    small.Add(icon ? icon : missing);
    large.Add(icon ? icon : missing);
    if (icon) ::DestroyIcon(icon);
  }
  ::SetCurrentDirectoryW(previous);

  ASSERT_EQ(window.Icons().Small().GetImageCount(), kPointIconCount);
  ASSERT_EQ(window.Icons().Large().GetImageCount(), kPointIconCount);
  for (int k = 0; k < kPointIconCount; ++k) {
    if (std::find(largeOnly.begin(), largeOnly.end(), k) == largeOnly.end()) {
      EXPECT_TRUE(SameDrawing(Drawn(window.Icons().Small().Handle(), k), Drawn(small.Handle(), k))) << "16x16 image " << k;
    }
    EXPECT_TRUE(SameDrawing(Drawn(window.Icons().Large().Handle(), k), Drawn(large.Handle(), k))) << "32x32 image " << k;
  }
  // Not all alike: the pictures did arrive, each in its own place.
  EXPECT_FALSE(SameDrawing(Drawn(window.Icons().Small().Handle(), 0), Drawn(window.Icons().Small().Handle(), 1)));
  EXPECT_FALSE(SameDrawing(Drawn(window.Icons().Small().Handle(), 2), Drawn(window.Icons().Small().Handle(), 3)));
  EXPECT_FALSE(SameDrawing(Drawn(window.Icons().Small().Handle(), 3), Drawn(window.Icons().Small().Handle(), 5)));
  window.Destroy();
}

TEST(PointIcons, MissingIconFilesFallBackToTheBuiltInIcon) {
  TempDirectory empty;
  wchar_t previous[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(::SetCurrentDirectoryW(empty.WidePath().c_str()));
  {
    MainDialog window("");
    ASSERT_TRUE(window.Create(nullptr));
    EXPECT_EQ(window.Icons().Small().GetImageCount(), 55);
    EXPECT_EQ(window.Icons().Large().GetImageCount(), 55);
    int cx = 0, cy = 0;
    window.Icons().Large().GetIconSize(cx, cy);
    EXPECT_EQ(cx, 32);
    window.Destroy();
  }
  ::SetCurrentDirectoryW(previous);
}

TEST(PointIcons, AnIconMissingHereIsTakenFromBesideTheProgram) {
  // Opened from Explorer, the current directory is the point file's own folder: its pictures
  // still come first, and only the missing ones come from the installed set.
  TempDirectory here, installed;
  ASSERT_TRUE(WriteFileBytes(here.File("mark01.ico"), IconFile(16, true, 1)));
  ASSERT_TRUE(WriteFileBytes(installed.File("mark01.ico"), IconFile(16, true, 11)));
  ASSERT_TRUE(WriteFileBytes(installed.File("mark02.ico"), IconFile(16, true, 2)));
  wchar_t previous[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(::SetCurrentDirectoryW(here.WidePath().c_str()));
  PointIcons icons;
  icons.LoadPointIcons(installed.WidePath(), DisplayScale());
  ::SetCurrentDirectoryW(previous);

  ImageList expected;
  expected.Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
  for (const std::string& file : {here.File("mark01.ico"), installed.File("mark02.ico")}) {
    HICON icon = static_cast<HICON>(::LoadImageW(nullptr, WidenText(file).c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    ASSERT_TRUE(icon) << file;
    expected.Add(icon);
    ::DestroyIcon(icon);
  }
  expected.Add(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MISSING_POINT),
                                                IMAGE_ICON, 16, 16, LR_SHARED)));
  for (int k = 0; k < 3; ++k)
    EXPECT_TRUE(SameDrawing(Drawn(icons.Small().Handle(), k), Drawn(expected.Handle(), k))) << "image " << k;
}

}  // namespace
