// The map-object dialog (template 161): the list of map programs the helper can drive and
// the choice among them, kept in the registry. For now only the object the main window
// holds; the dialog itself comes with the map link.
#pragma once

#include <string>

#include "framework/dialog.h"
#include "resources/resource.h"

class MapObjectDialog : public Dialog {
 public:
  MapObjectDialog() : Dialog(IDD_MAP_OBJECT) {}
  void SetKeyName(const std::string& keyName) { m_keyName = keyName; }

 private:
  std::string m_keyName;
};
