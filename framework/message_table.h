// Message tables: each window class lists, in a static array, which message, command or
// notification goes to which of its member functions. Window::Dispatch searches the table
// of the object's class, then the tables of its base classes, and calls the first match.
//
//   // in the class
//   OSTREL_MESSAGE_TABLE();
//   // in the .cpp
//   const MessageEntry MainDialog::kMessageEntries[] = {
//       OnCommand<&MainDialog::OnEditPoint>(IDC_EDIT_POINT),
//       OnNotify<&MainDialog::OnPointListClick>(NM_CLICK, IDC_POINT_LIST),
//       OnMessage<&MainDialog::OnSize>(WM_SIZE),
//   };
//   OSTREL_DEFINE_MESSAGE_TABLE(MainDialog, Dialog);
//
// Handler signatures:
//   commands and control notifications (WM_COMMAND)  void Handler();
//   notifications (WM_NOTIFY), also reflected ones    void Handler(NMHDR* header, LRESULT* result);
//   any other message                                 LRESULT Handler(WPARAM, LPARAM);
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>

class Window;

// Where reflected messages start. A parent passes a control's notification back to the
// control as the original number plus this offset, so a control class can handle its own
// notifications (the list view's begin-drag, for instance). 0xBC00 lies in the private range
// below WM_APP that no system control uses, and it is the offset control classes written
// against the traditional reflection scheme expect, so it must not move.
constexpr UINT kReflectionOffset = 0xBC00;
// WM_NOTIFY reflected to the control that sent it.
constexpr UINT kReflectedNotify = kReflectionOffset + WM_NOTIFY;

enum class MessageMatch : unsigned char {
  kMessage,         // the message number only
  kCommand,         // WM_COMMAND from a menu item, accelerator or button click, by id
  kControl,         // WM_COMMAND with a given notification code, by id
  kNotify,          // WM_NOTIFY with a given code, by sending control id
  kReflectedNotify  // the control's own WM_NOTIFY, passed back by its parent, by code
};

struct MessageEntry {
  MessageMatch match;
  UINT message;
  UINT code;
  UINT id;
  LRESULT (*call)(Window& self, WPARAM wParam, LPARAM lParam);
};

struct MessageTable {
  const MessageTable* base;
  const MessageEntry* entries;
  std::size_t count;
};

namespace message_thunks {

template <auto F> struct Command;
template <class T, void (T::*F)()> struct Command<F> {
  static LRESULT Call(Window& self, WPARAM, LPARAM) {
    (static_cast<T&>(self).*F)();
    return 0;
  }
};

template <auto F> struct Notify;
template <class T, void (T::*F)(NMHDR*, LRESULT*)> struct Notify<F> {
  static LRESULT Call(Window& self, WPARAM, LPARAM lParam) {
    LRESULT result = 0;
    (static_cast<T&>(self).*F)(reinterpret_cast<NMHDR*>(lParam), &result);
    return result;
  }
};

template <auto F> struct Message;
template <class T, LRESULT (T::*F)(WPARAM, LPARAM)> struct Message<F> {
  static LRESULT Call(Window& self, WPARAM wParam, LPARAM lParam) {
    return (static_cast<T&>(self).*F)(wParam, lParam);
  }
};

}  // namespace message_thunks

template <auto F> constexpr MessageEntry OnCommand(UINT id) {
  return {MessageMatch::kCommand, WM_COMMAND, 0, id, &message_thunks::Command<F>::Call};
}
template <auto F> constexpr MessageEntry OnControl(UINT code, UINT id) {
  return {MessageMatch::kControl, WM_COMMAND, code, id, &message_thunks::Command<F>::Call};
}
template <auto F> constexpr MessageEntry OnNotify(UINT code, UINT id) {
  return {MessageMatch::kNotify, WM_NOTIFY, code, id, &message_thunks::Notify<F>::Call};
}
template <auto F> constexpr MessageEntry OnReflectedNotify(UINT code) {
  return {MessageMatch::kReflectedNotify, kReflectedNotify, code, 0,
          &message_thunks::Notify<F>::Call};
}
template <auto F> constexpr MessageEntry OnMessage(UINT message) {
  return {MessageMatch::kMessage, message, 0, 0, &message_thunks::Message<F>::Call};
}

// Declares the table of a class (put it in the class body; it leaves the access at
// protected).
#define OSTREL_MESSAGE_TABLE()                                                      \
 public:                                                                            \
  static constexpr const MessageTable* MessageTableOfClass() { return &kMessageTable; } \
                                                                                    \
 protected:                                                                         \
  const MessageTable* GetMessageTable() const override { return &kMessageTable; }   \
  static const MessageEntry kMessageEntries[];                                      \
  static const MessageTable kMessageTable

// Defines the table from the class's kMessageEntries; `Base` is searched after it.
#define OSTREL_DEFINE_MESSAGE_TABLE(Class, Base)                                      \
  const MessageTable Class::kMessageTable{Base::MessageTableOfClass(), Class::kMessageEntries, \
                                          sizeof(Class::kMessageEntries) / sizeof(MessageEntry)}
