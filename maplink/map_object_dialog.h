// The map-object dialog (template 161): the list of map programs the helper can drive,
// edited and chosen from. The main window keeps one for its life and runs it for each use;
// the list and its registry values are MapObjectList's.
#pragma once

#include <string>

#include "framework/controls.h"
#include "framework/dialog.h"
#include "maplink/map_object_list.h"
#include "maplink/map_object_store.h"

class MapObjectDialog : public Dialog {
 public:
  MapObjectDialog();
  // The key word of the registry key, SOFTWARE\Brannock\<key word>.
  void SetKeyName(const std::string& keyName) { m_store.SetKeyName(keyName); }
  // Tests: another registry in place of the system's.
  void UseRegistry(Registry& registry) { m_store.UseRegistry(registry); }
  // The registry values of the key; the main window reads the chosen name with it.
  const MapObjectStore& Store() const { return m_store; }
  // The name confirmed with OK; empty when OK was pressed with nothing selected.
  const std::string& SelectedName() const { return m_selectedName; }

  BOOL OnInitDialog() override;
  void OnOK() override;

 protected:
  void DoDataExchange(DataExchange& dx) override;

 private:
  void OnAddName();
  void OnDeleteName();

  MapObjectStore m_store;
  MapObjectList m_list{m_store};
  std::string m_selectedName;
  ListBox m_listBox;
  Edit m_nameEdit;

  OSTREL_MESSAGE_TABLE();
};
