#include "app/find_box.h"

#include "resources/resource.h"

const MessageEntry FindBox::kMessageEntries[] = {
    OnControl<&FindBox::OnTextChange>(EN_CHANGE, IDC_FIND_TEXT),
};
OSTREL_DEFINE_MESSAGE_TABLE(FindBox, Dialog);

FindBox::FindBox(FindBoxHost& host) : Dialog(IDD_FIND), m_host(host) {}

FindBox::~FindBox() {
  // Its handlers reach the host: the window goes while the object is whole.
  if (IsWindow()) Destroy();
}

void FindBox::Open(HWND owner) {
  if (!IsWindow() && !Create(owner)) return;
  Show(SW_SHOW);
  ::SetFocus(Item(IDC_FIND_TEXT));
  ::SendMessageW(Item(IDC_FIND_TEXT), EM_SETSEL, 0, -1);
}

void FindBox::OnOK() { m_host.FindNext(); }

void FindBox::OnTextChange() { m_host.FindTextChanged(ItemText(IDC_FIND_TEXT)); }
