#include "maplink/map_object_dialog.h"

#include "registry/win32_registry.h"
#include "resources/resource.h"

const MessageEntry MapObjectDialog::kMessageEntries[] = {
    OnCommand<&MapObjectDialog::OnAddName>(IDC_MAP_OBJECT_ADD),
    OnCommand<&MapObjectDialog::OnDeleteName>(IDC_MAP_OBJECT_DELETE),
};
OSTREL_DEFINE_MESSAGE_TABLE(MapObjectDialog, Dialog);

MapObjectDialog::MapObjectDialog() : Dialog(IDD_MAP_OBJECT), m_store(SystemRegistry()) {}

void MapObjectDialog::DoDataExchange(DataExchange& dx) {
  dx.Control(IDC_MAP_OBJECT_NAME, m_nameEdit);
  dx.Control(IDC_MAP_OBJECT_LIST, m_listBox);
}

BOOL MapObjectDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  m_list.LoadNames();
  // Inserted at the end, not added: the list box is sorted, and the order is the list's.
  for (const std::string& name : m_list.Names()) m_listBox.InsertString(-1, name);
  m_listBox.SetCurSel(m_list.ChosenEntry());
  return TRUE;
}

void MapObjectDialog::OnAddName() {
  const std::string name = m_nameEdit.Text();
  if (!m_list.AddName(name)) return;
  if (!name.empty()) m_listBox.InsertString(-1, name);
  m_nameEdit.SetText("");
}

void MapObjectDialog::OnDeleteName() {
  const int selected = m_listBox.GetCurSel();
  m_list.DeleteName(selected);
  if (selected >= 0) m_listBox.DeleteString(selected);
  m_listBox.SetCurSel(m_list.ChosenEntry());
}

void MapObjectDialog::OnOK() {
  m_selectedName = m_list.Choose(m_listBox.GetCurSel());
  EndDialog(IDOK);
}
