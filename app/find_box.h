// FindBox: the small modeless find window (template 170) the main window owns. It has one
// edit field; each change of its text goes to the host, which selects the rows that hold
// it; Enter asks for the next one; Esc closes the box.
#pragma once

#include <string>

#include "framework/dialog.h"

class FindBoxHost {
 public:
  virtual void FindTextChanged(const std::string& text) = 0;
  virtual void FindNext() = 0;

 protected:
  ~FindBoxHost() = default;
};

class FindBox : public Dialog {
 public:
  explicit FindBox(FindBoxHost& host);
  ~FindBox() override;

  // Opens the box over `owner`, or brings it back; the field has the focus, its text selected.
  void Open(HWND owner);

  void OnOK() override;  // Enter: the next row found

 private:
  void OnTextChange();

  FindBoxHost& m_host;

  OSTREL_MESSAGE_TABLE();
};
