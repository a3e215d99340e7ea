#include "framework/controls.h"

#include <uxtheme.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framework/text_encoding.h"

namespace {

// A list item's text, asked for with a buffer that grows until the text fits.
std::string ListViewText(const ListView& list, int index, int subItem) {
  std::vector<wchar_t> buffer(256);
  for (;;) {
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const int length = static_cast<int>(
        list.Send(LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item)));
    if (length < static_cast<int>(buffer.size()) - 1) return NarrowText(std::wstring_view(buffer.data(), length));
    buffer.resize(buffer.size() * 2);
  }
}

// A row of equal pictures drawn side by side: 32-bit colour (a DIB section, so that the
// drawn pixels can be corrected before the strip is handed to an image list) and a mask.
class PictureStrip {
 public:
  PictureStrip(int width, int height) : m_width(width), m_height(height) {
    BITMAPINFO colour{};
    colour.bmiHeader = Header(32);
    void* colourBits = nullptr;
    m_colour = ::CreateDIBSection(nullptr, &colour, DIB_RGB_COLORS, &colourBits, nullptr, 0);
    m_pixels = static_cast<std::uint32_t*>(colourBits);

    struct {
      BITMAPINFOHEADER header;
      RGBQUAD colours[2];
    } mask{Header(1), {{0, 0, 0, 0}, {255, 255, 255, 0}}};
    void* maskBits = nullptr;
    m_mask = ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&mask), DIB_RGB_COLORS, &maskBits,
                                nullptr, 0);
    m_colourDc = ::CreateCompatibleDC(nullptr);
    m_maskDc = ::CreateCompatibleDC(nullptr);
    if (!Ok()) return;
    m_oldColour = ::SelectObject(m_colourDc, m_colour);
    m_oldMask = ::SelectObject(m_maskDc, m_mask);
    // Whatever no icon covers stays transparent.
    ::PatBlt(m_maskDc, 0, 0, m_width, m_height, WHITENESS);
  }
  ~PictureStrip() {
    ReleaseBitmaps();
    if (m_colourDc) ::DeleteDC(m_colourDc);
    if (m_maskDc) ::DeleteDC(m_maskDc);
    if (m_colour) ::DeleteObject(m_colour);
    if (m_mask) ::DeleteObject(m_mask);
  }
  PictureStrip(const PictureStrip&) = delete;
  PictureStrip& operator=(const PictureStrip&) = delete;

  bool Ok() const { return m_pixels && m_mask && m_colourDc && m_maskDc; }

  // Draws `picture` into `at`. True when its colours came out premultiplied by their alpha
  // and must be made straight again (MakeStraightAlpha).
  bool Draw(const StripPicture& picture, const RECT& at) const {
    if (const auto* file = std::get_if<const IconFilePicture*>(&picture)) {
      (*file)->DrawColour(m_colourDc, at);
      (*file)->DrawMask(m_maskDc, at);
      return false;
    }
    // Drawn onto the cleared bitmap, an icon leaves its colour bits as they are (its mask
    // ANDs onto black, its colours XOR onto that), but pixels with alpha are blended.
    HICON icon = std::get<HICON>(picture);
    const int cx = at.right - at.left, cy = at.bottom - at.top;
    ::DrawIconEx(m_colourDc, at.left, at.top, icon, cx, cy, 0, nullptr, DI_NORMAL);
    ::DrawIconEx(m_maskDc, at.left, at.top, icon, cx, cy, 0, nullptr, DI_MASK);
    return true;
  }

  // An image list takes alpha as icons hold it, not premultiplied: divide it out again. A
  // picture without any alpha (an icon of fewer colours) is left so: the list then takes its
  // mask, as it would for that icon added on its own.
  void MakeStraightAlpha(const RECT& picture) const {
    for (int y = picture.top; y < picture.bottom; ++y) {
      for (int x = picture.left; x < picture.right; ++x) {
        std::uint32_t& pixel = m_pixels[static_cast<size_t>(y) * m_width + x];
        const std::uint32_t alpha = pixel >> 24;
        if (alpha == 0 || alpha == 255) continue;
        auto straight = [&](int shift) {
          return std::min<std::uint32_t>(((pixel >> shift) & 0xFF) * 255 / alpha, 255) << shift;
        };
        pixel = (alpha << 24) | straight(16) | straight(8) | straight(0);
      }
    }
  }

  // Gives the bitmaps up for the image list to copy (a bitmap can be selected into one
  // device context at a time).
  void ReleaseBitmaps() {
    if (m_oldColour) ::SelectObject(m_colourDc, m_oldColour);
    if (m_oldMask) ::SelectObject(m_maskDc, m_oldMask);
    m_oldColour = m_oldMask = nullptr;
  }
  HBITMAP Colour() const { return m_colour; }
  HBITMAP Mask() const { return m_mask; }

 private:
  BITMAPINFOHEADER Header(WORD bitCount) const {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = m_width;
    header.biHeight = -m_height;  // top-down: row 0 first
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    header.biCompression = BI_RGB;
    header.biClrUsed = bitCount == 1 ? 2 : 0;
    return header;
  }

  int m_width, m_height;
  HBITMAP m_colour = nullptr, m_mask = nullptr;
  std::uint32_t* m_pixels = nullptr;
  HDC m_colourDc = nullptr, m_maskDc = nullptr;
  HGDIOBJ m_oldColour = nullptr, m_oldMask = nullptr;
};

}  // namespace

int ComboBox::AddString(const std::string& text) const {
  const std::wstring wide = WidenText(text);
  return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

std::string ComboBox::GetLBText(int index) const {
  const LRESULT length = Send(CB_GETLBTEXTLEN, index);
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  Send(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return NarrowText(text);
}

int ListBox::AddString(const std::string& text) const {
  const std::wstring wide = WidenText(text);
  return static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

int ListBox::InsertString(int index, const std::string& text) const {
  const std::wstring wide = WidenText(text);
  return static_cast<int>(Send(LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(wide.c_str())));
}

std::string ListBox::GetText(int index) const {
  const LRESULT length = Send(LB_GETTEXTLEN, index);
  if (length == LB_ERR) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  Send(LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return NarrowText(text);
}

int SpinButton::GetPos32(bool* failed) const {
  BOOL error = FALSE;
  const int pos = static_cast<int>(Send(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)));
  if (failed) *failed = error != FALSE;
  return pos;
}

int ListView::InsertColumn(int index, const std::string& heading, int width, int format) const {
  std::wstring text = WidenText(heading);
  LVCOLUMNW column{};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
  column.fmt = format;
  column.cx = width;
  column.pszText = text.data();
  return static_cast<int>(Send(LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column)));
}

bool ListView::HasColumn(int index) const {
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  return Send(LVM_GETCOLUMNW, index, reinterpret_cast<LPARAM>(&column)) != 0;
}

std::string ListView::GetColumnText(int index) const {
  wchar_t buffer[256] = {};
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT;
  column.pszText = buffer;
  column.cchTextMax = 256;
  if (!Send(LVM_GETCOLUMNW, index, reinterpret_cast<LPARAM>(&column))) return {};
  return NarrowText(buffer);
}

int ListView::InsertItem(int index, const std::string& text, int image) const {
  std::wstring wide = WidenText(text);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = index;
  item.pszText = wide.data();
  item.iImage = image;
  return InsertItem(item);
}

bool ListView::SetItemText(int index, int subItem, const std::string& text) const {
  std::wstring wide = WidenText(text);
  LVITEMW item{};
  item.iSubItem = subItem;
  item.pszText = wide.data();
  return Send(LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item)) != 0;
}

std::string ListView::GetItemText(int index, int subItem) const { return ListViewText(*this, index, subItem); }

int ListView::GetItemImage(int index) const {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  return GetItem(item) ? item.iImage : -1;
}

bool ListView::SetItemState(int index, UINT state, UINT mask) const {
  LVITEMW item{};
  item.state = state;
  item.stateMask = mask;
  return Send(LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item)) != 0;
}

void ListView::MeasureRows() const {
  HDC nowhere = ::CreateCompatibleDC(nullptr);
  ::IntersectClipRect(nowhere, 0, 0, 0, 0);
  Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(nowhere), PRF_CLIENT);
  ::DeleteDC(nowhere);
}

int ListView::HitTest(POINT client, UINT* flags) const {
  LVHITTESTINFO info{};
  info.pt = client;
  const int index = static_cast<int>(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
  if (flags) *flags = info.flags;
  return index;
}

bool StatusBar::Create(HWND parent, UINT id) {
  // Created along the parent's bottom edge, the bar takes the height of one line of its
  // font. It re-aligns itself only when it is sent WM_SIZE, which a dialog never forwards,
  // so from then on the owner's layout places it and keeps that height.
  m_hwnd = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"",
                             WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM, 0, 0, 0, 0,
                             parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
  return m_hwnd != nullptr;
}

COLORREF StatusBar::SetBkColor(COLORREF c) const {
  // A theme class list naming no class leaves this one window without a theme; the rest keep
  // theirs. A blank, not an empty text: Wine stores the names as atoms and refuses "".
  ::SetWindowTheme(m_hwnd, L" ", L" ");
  return static_cast<COLORREF>(Send(SB_SETBKCOLOR, 0, c));
}

void StatusBar::SetPanes(std::initializer_list<int> fixedWidths) {
  m_paneCount = 1;
  for (int w : fixedWidths) {
    if (m_paneCount == kMaxPanes) break;
    m_fixed[m_paneCount++] = w;
  }
  FitPanes();
}

void StatusBar::FitPanes() const {
  if (m_paneCount == 0) return;
  const RECT client = ClientRect();
  int edges[kMaxPanes];
  int right = client.right;
  // The last pane runs to the end (-1), so the sizing grip stays inside it.
  edges[m_paneCount - 1] = -1;
  for (int i = m_paneCount - 1; i > 0; --i) {
    right -= m_fixed[i];
    edges[i - 1] = std::max(right, 0);
  }
  Send(SB_SETPARTS, m_paneCount, reinterpret_cast<LPARAM>(edges));
}

void StatusBar::SetPaneText(int pane, const std::string& text, UINT style) const {
  const std::wstring wide = WidenText(text);
  Send(SB_SETTEXTW, static_cast<WPARAM>(pane) | style, reinterpret_cast<LPARAM>(wide.c_str()));
}

std::string StatusBar::PaneText(int pane) const {
  const LRESULT length = LOWORD(Send(SB_GETTEXTLENGTHW, pane));
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  Send(SB_GETTEXTW, pane, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return NarrowText(text);
}

bool ImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
  Destroy();
  m_list = ::ImageList_Create(cx, cy, flags, initial, grow);
  return m_list != nullptr;
}

int ImageList::AddIcons(std::span<const StripPicture> pictures) const {
  int cx = 0, cy = 0;
  if (pictures.empty() || !GetIconSize(cx, cy)) return -1;
  PictureStrip strip(cx * static_cast<int>(pictures.size()), cy);
  if (!strip.Ok()) return -1;
  auto place = [&](size_t i) {
    const int left = static_cast<int>(i) * cx;
    return RECT{left, 0, left + cx, cy};
  };
  std::vector<bool> premultiplied(pictures.size());
  for (size_t i = 0; i < pictures.size(); ++i) premultiplied[i] = strip.Draw(pictures[i], place(i));
  ::GdiFlush();  // the drawing must have reached the pixels before they are read
  for (size_t i = 0; i < pictures.size(); ++i) {
    if (premultiplied[i]) strip.MakeStraightAlpha(place(i));
  }
  strip.ReleaseBitmaps();
  return ::ImageList_Add(m_list, strip.Colour(), strip.Mask());
}

void ImageList::Destroy() {
  if (m_list) ::ImageList_Destroy(m_list);
  m_list = nullptr;
}

bool Menu::Load(int id) {
  m_menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
  return m_menu != nullptr;
}

bool Menu::Destroy() {
  const bool done = m_menu && ::DestroyMenu(m_menu);
  m_menu = nullptr;
  return done;
}

std::string Menu::ItemText(int position) const {
  wchar_t buffer[256] = {};
  ::GetMenuStringW(m_menu, position, buffer, 256, MF_BYPOSITION);
  return NarrowText(buffer);
}

bool Menu::IsSeparator(int position) const {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  return ::GetMenuItemInfoW(m_menu, position, TRUE, &info) && (info.fType & MFT_SEPARATOR);
}

bool Menu::Append(UINT flags, UINT_PTR id, const std::string& text) const {
  const std::wstring wide = WidenText(text);
  return ::AppendMenuW(m_menu, flags, id, (flags & MF_SEPARATOR) ? nullptr : wide.c_str()) != FALSE;
}
