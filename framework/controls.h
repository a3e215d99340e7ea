// Thin wrappers of the standard and common controls: each method is one message. Texts
// are Shift_JIS and cross into the controls as UTF-16 (the W messages), so Japanese
// shows whatever the system's code page is.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <span>
#include <string>
#include <variant>

#include "framework/icon_file.h"
#include "framework/window.h"

// One picture for an image list: an icon, or a picture read from an icon file.
using StripPicture = std::variant<HICON, const IconFilePicture*>;

class Edit : public Window {
 public:
  using Window::Window;
  void SetReadOnly(bool readOnly) const { Send(EM_SETREADONLY, readOnly); }
  void SetSel(int start, int end) const { Send(EM_SETSEL, start, end); }
};

class ComboBox : public Window {
 public:
  using Window::Window;
  void ResetContent() const { Send(CB_RESETCONTENT); }
  int AddString(const std::string& text) const;
  int GetCount() const { return static_cast<int>(Send(CB_GETCOUNT)); }
  int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
  int SetCurSel(int index) const { return static_cast<int>(Send(CB_SETCURSEL, index)); }
  std::string GetLBText(int index) const;
};

class ListBox : public Window {
 public:
  using Window::Window;
  void ResetContent() const { Send(LB_RESETCONTENT); }
  int AddString(const std::string& text) const;
  // At `index` (-1: the end), also in a sorted list box.
  int InsertString(int index, const std::string& text) const;
  int DeleteString(int index) const { return static_cast<int>(Send(LB_DELETESTRING, index)); }
  int GetCount() const { return static_cast<int>(Send(LB_GETCOUNT)); }
  int GetCurSel() const { return static_cast<int>(Send(LB_GETCURSEL)); }
  int SetCurSel(int index) const { return static_cast<int>(Send(LB_SETCURSEL, index)); }
  std::string GetText(int index) const;
};

class SpinButton : public Window {
 public:
  using Window::Window;
  void SetBuddy(HWND buddy) const { Send(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy)); }
  void SetRange32(int lower, int upper) const { Send(UDM_SETRANGE32, lower, upper); }
  void SetPos32(int pos) const { Send(UDM_SETPOS32, 0, pos); }
  // The position; `failed` (when given) says the buddy's text was not a number in range,
  // and the result is then the last valid position clamped to the range.
  int GetPos32(bool* failed = nullptr) const;
};

class Static : public Window {
 public:
  using Window::Window;
  HICON SetIcon(HICON icon) const {
    return reinterpret_cast<HICON>(Send(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
  }
  HICON GetIcon() const { return reinterpret_cast<HICON>(Send(STM_GETICON)); }
};

class ListView : public Window {
 public:
  using Window::Window;
  DWORD SetExtendedStyle(DWORD styles) const {
    return static_cast<DWORD>(Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, styles));
  }
  DWORD GetExtendedStyle() const { return static_cast<DWORD>(Send(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
  HIMAGELIST SetImageList(HIMAGELIST list, int which) const {
    return reinterpret_cast<HIMAGELIST>(Send(LVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list)));
  }
  HIMAGELIST GetImageList(int which) const {
    return reinterpret_cast<HIMAGELIST>(Send(LVM_GETIMAGELIST, which));
  }
  bool SetBkColor(COLORREF c) const { return Send(LVM_SETBKCOLOR, 0, c) != 0; }
  bool SetTextBkColor(COLORREF c) const { return Send(LVM_SETTEXTBKCOLOR, 0, c) != 0; }
  bool SetTextColor(COLORREF c) const { return Send(LVM_SETTEXTCOLOR, 0, c) != 0; }
  COLORREF GetBkColor() const { return static_cast<COLORREF>(Send(LVM_GETBKCOLOR)); }
  COLORREF GetTextBkColor() const { return static_cast<COLORREF>(Send(LVM_GETTEXTBKCOLOR)); }
  COLORREF GetTextColor() const { return static_cast<COLORREF>(Send(LVM_GETTEXTCOLOR)); }

  int InsertColumn(int index, const std::string& heading, int width, int format = LVCFMT_LEFT) const;
  bool HasColumn(int index) const;  // LVM_GETCOLUMN succeeds for it
  std::string GetColumnText(int index) const;
  int GetColumnWidth(int index) const { return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, index)); }

  int GetItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
  // Items through the raw record; its pszText, when set, must be UTF-16.
  int InsertItem(const LVITEMW& item) const {
    return static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  }
  bool SetItem(const LVITEMW& item) const {
    return Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != 0;
  }
  bool GetItem(LVITEMW& item) const { return Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != 0; }
  // A row with a Shift_JIS text in column 0 and an image (-1: none); the index it got.
  int InsertItem(int index, const std::string& text, int image = -1) const;
  bool SetItemText(int index, int subItem, const std::string& text) const;
  std::string GetItemText(int index, int subItem) const;
  int GetItemImage(int index) const;
  bool DeleteItem(int index) const { return Send(LVM_DELETEITEM, index) != 0; }
  bool DeleteAllItems() const { return Send(LVM_DELETEALLITEMS) != 0; }
  UINT GetItemState(int index, UINT mask) const {
    return static_cast<UINT>(Send(LVM_GETITEMSTATE, index, mask));
  }
  bool SetItemState(int index, UINT state, UINT mask) const;
  // Check marks are state image 2 (checked) and 1 (unchecked).
  bool SetCheck(int index, bool check) const {
    return SetItemState(index, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), LVIS_STATEIMAGEMASK);
  }
  int GetNextItem(int start, int flags) const { return static_cast<int>(Send(LVM_GETNEXTITEM, start, flags)); }
  int GetSelectedCount() const { return static_cast<int>(Send(LVM_GETSELECTEDCOUNT)); }
  int HitTest(POINT client, UINT* flags = nullptr) const;
  bool EnsureVisible(int index, bool partialOk) const { return Send(LVM_ENSUREVISIBLE, index, partialOk) != 0; }
  bool RedrawItems(int first, int last) const { return Send(LVM_REDRAWITEMS, first, last) != 0; }
  bool GetItemRect(int index, RECT& r, int code = LVIR_BOUNDS) const {
    r.left = code;
    return Send(LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)) != 0;
  }
  // A list view works out the size of its rows at its first paint and then sets its scroll
  // bars again, which redraws them at once (from themed bitmaps, several milliseconds under
  // Wine) in the middle of that paint. Asked to print itself into a device context that
  // shows nothing, a list that is not yet shown does that work now, and draws nothing.
  void MeasureRows() const;
};

// A status bar created by its owner at run time and placed by the owner's layout.
class StatusBar : public Window {
 public:
  // A child of `parent` along its bottom edge, with a sizing grip; false on failure.
  bool Create(HWND parent, UINT id);
  // The first pane takes what the others leave; `fixedWidths` are the others' widths.
  void SetPanes(std::initializer_list<int> fixedWidths);
  // Recomputes the pane edges for the bar's current width (after it was moved).
  void FitPanes() const;
  int PaneCount() const { return m_paneCount; }
  void SetPaneText(int pane, const std::string& text, UINT style = 0) const;
  std::string PaneText(int pane) const;
  // The bar's background. Takes visual styles off the bar: a themed bar paints the theme's
  // background and ignores SB_SETBKCOLOR.
  COLORREF SetBkColor(COLORREF c) const;

 private:
  static constexpr int kMaxPanes = 8;
  int m_fixed[kMaxPanes] = {};
  int m_paneCount = 0;
};

// An owning image list (destroyed with the object).
class ImageList {
 public:
  ImageList() = default;
  ~ImageList() { Destroy(); }
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;

  bool Create(int cx, int cy, UINT flags, int initial, int grow);
  void Destroy();
  HIMAGELIST Handle() const { return m_list; }
  int Add(HICON icon) const { return ::ImageList_ReplaceIcon(m_list, -1, icon); }
  // Appends the pictures in order, each scaled to the list's size, as one strip: the same
  // pictures as Add() of each icon one by one, which under Wine costs a scaled copy of each
  // icon and a growth of the list's bitmaps every few images. The index of the first; -1 on
  // failure.
  int AddIcons(std::span<const StripPicture> pictures) const;
  int GetImageCount() const { return ::ImageList_GetImageCount(m_list); }
  // A new icon the caller owns; null when there is no such image.
  HICON GetIcon(int index, UINT flags = ILD_NORMAL) const { return ::ImageList_GetIcon(m_list, index, flags); }
  bool GetIconSize(int& cx, int& cy) const { return ::ImageList_GetIconSize(m_list, &cx, &cy) != FALSE; }

 private:
  HIMAGELIST m_list = nullptr;
};

// A menu handle. Not owning: a menu from Load() must be given back with Destroy(); the
// menu of a window is destroyed with it.
class Menu {
 public:
  Menu() = default;
  explicit Menu(HMENU menu) : m_menu(menu) {}
  HMENU Handle() const { return m_menu; }
  bool Load(int id);
  bool Destroy();
  Menu SubMenu(int position) const { return Menu(::GetSubMenu(m_menu, position)); }
  int ItemCount() const { return ::GetMenuItemCount(m_menu); }
  UINT ItemId(int position) const { return ::GetMenuItemID(m_menu, position); }
  std::string ItemText(int position) const;  // by position
  bool IsSeparator(int position) const;
  UINT ItemState(UINT id) const { return ::GetMenuState(m_menu, id, MF_BYCOMMAND); }
  bool Append(UINT flags, UINT_PTR id, const std::string& text) const;
  // Shows the menu and sends the chosen command to `owner`; `flags` TPM_*.
  bool TrackPopup(UINT flags, POINT screen, HWND owner) const {
    return ::TrackPopupMenu(m_menu, flags, screen.x, screen.y, 0, owner, nullptr) != FALSE;
  }

 private:
  HMENU m_menu = nullptr;
};
