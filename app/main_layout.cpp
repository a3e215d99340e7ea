// The two screens of the main window and how they follow the window's size and its DPI.
// All measures are taken afresh from the controls each time, in pixels of the client area;
// the gaps between them are pixels at 96 DPI, scaled.
#include "app/main_dialog.h"

#include "framework/dpi.h"
#include "resources/resource.h"

namespace {

// The marker-position row along the top: shown only when the helper program is there.
constexpr int kTopRow[] = {IDC_MARKER_LATITUDE,  IDC_MARKER_LATITUDE_LABEL, IDC_MARKER_LONGITUDE,
                           IDC_MARKER_LONGITUDE_LABEL, IDC_TAKE_POSITION, IDC_MAP_DISPLAY};
constexpr int kButtonColumn[] = {IDC_EDIT_POINT, IDC_ADD_POINT, IDC_DELETE_POINT, IDCANCEL};

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// Shows or hides the top row and returns where the lists begin.
int PlaceTopRow(const Window& dialog, bool helperPresent, const RECT& client) {
  for (int id : kTopRow) Window(dialog.Item(id)).Show(helperPresent ? SW_SHOW : SW_HIDE);
  if (!helperPresent) return client.top;
  return client.top + Height(Window(dialog.Item(IDC_EDIT_POINT)).ClientRect()) + dialog.ScaledPixels(5);
}

}  // namespace

void MainDialog::LayoutEditScreen() {
  m_viewMode = 0;
  const RECT client = ClientRect();
  const int top = PlaceTopRow(*this, m_helperLink.HelperPresent(), client);
  const int buttonWidth = Width(Window(Item(IDC_EDIT_POINT)).ClientRect());
  const int bottom = client.bottom - Height(m_statusBar.ClientRect()) - ScaledPixels(2);
  m_importPanel.ImportList().Show(SW_HIDE);
  m_pointList.Move(client.left, top, (client.right - buttonWidth - ScaledPixels(12)) - client.left, bottom - top);
  m_pointList.Show(SW_SHOW);
  ShowPathPane();
}

void MainDialog::LayoutImportScreen() {
  m_viewMode = 1;
  const RECT client = ClientRect();
  const int top = PlaceTopRow(*this, m_helperLink.HelperPresent(), client);
  const int buttonWidth = Width(Window(Item(IDC_EDIT_POINT)).ClientRect());
  const int bottom = client.bottom - Height(m_statusBar.ClientRect()) - ScaledPixels(2);
  m_pointList.Show(SW_HIDE);
  m_importPanel.ImportList().Show(SW_SHOW);
  m_pointList.Show(SW_SHOW);
  const int split = client.right - buttonWidth - ScaledPixels(10);
  const int half = split / 2;
  m_pointList.Move(half, top, split - half, bottom - top);
  m_importPanel.ImportList().Move(client.left, top, half - client.left, bottom - top);
  ShowPathPane();
}

void MainDialog::AlignRight(int controlId) {
  const Window control(Item(controlId));
  const RECT r = control.RectInParent();
  const int width = Width(control.ClientRect());
  control.Move(ClientRect().right - width - ScaledPixels(5), r.top, width, Height(r));
}

LRESULT MainDialog::OnSize(WPARAM, LPARAM) {
  const RECT client = ClientRect();
  if (m_sizedOnce) {
    if (m_viewMode == 1)
      LayoutImportScreen();
    else
      LayoutEditScreen();
    for (int id : kButtonColumn) ShowItem(id, true);
    AlignRight(IDC_EDIT_POINT);
    AlignRight(IDC_ADD_POINT);
    AlignRight(IDC_DELETE_POINT);
    const Window close(Item(IDCANCEL));
    const RECT closeClient = close.ClientRect();
    close.Move(client.right - closeClient.right - ScaledPixels(5),
               client.bottom - Height(m_statusBar.ClientRect()) - closeClient.bottom, closeClient.right,
               closeClient.bottom);
  }
  if (m_statusBar.IsWindow() && m_statusBar.IsVisible()) {
    const int height = Height(m_statusBar.WindowRect());
    m_statusBar.Move(client.left, client.bottom - height, Width(client), height);
    m_statusBar.FitPanes();
  }
  // The dialog erases newly exposed parts with its black brush, over its children (it does
  // not clip them); the moved controls must paint again after that, not before.
  if (m_sizedOnce) ::RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  return 0;
}

LRESULT MainDialog::OnSizing(WPARAM, LPARAM lParam) {
  // The edge being dragged does not matter: the right and bottom edges give way.
  auto* r = reinterpret_cast<RECT*>(lParam);
  if (Width(*r) < m_minWidth) r->right = r->left + m_minWidth;
  if (Height(*r) < m_minHeight) r->bottom = r->top + m_minHeight;
  return TRUE;
}

void MainDialog::SetStatusPanes() { m_statusBar.SetPanes({ScaledPixels(100), ScaledPixels(100)}); }

void MainDialog::SetMinimumSize(PixelSize size) {
  MONITORINFO monitor{sizeof monitor};
  ::GetMonitorInfoW(::MonitorFromWindow(m_hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
  const PixelSize area{Width(monitor.rcWork), Height(monitor.rcWork)};
  m_laidOutSize = size;
  const PixelSize clamped = ClampToWorkArea(size, area);
  m_minWidth = clamped.width;
  m_minHeight = clamped.height;
}

void MainDialog::OnScaleChanged(DisplayScale previous) {
  // The system has scaled the controls from the template and their fonts; what this window
  // sized in pixels itself follows: the minimum size, the status bar's panes, the point
  // icons, the lists' columns and the layout.
  SetMinimumSize({Scale().Rescale(m_laidOutSize.width, previous), Scale().Rescale(m_laidOutSize.height, previous)});
  SetStatusPanes();
  m_icons.LoadPointIcons(ProgramFolder(), Scale());
  m_pointList.ApplyScale(Scale());
  m_importPanel.ImportList().ApplyScale(Scale());
  OnSize(0, 0);
}

void MainDialog::OnViewEditScreen() { LayoutEditScreen(); }

void MainDialog::OnViewImportScreen() { LayoutImportScreen(); }
