// Files dropped on a window that accepts them (WM_DROPFILES).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>

class MessageSink;

// The last file of a drop in the order the system reports them (the others are ignored),
// as a Shift_JIS path taken whole, however long; the drop is released. Nothing when nothing
// was dropped, or when the path holds characters code page 932 lacks: opening it through a
// Shift_JIS path would open some other file, so `sink` tells the user instead.
std::optional<std::string> TakeLastDroppedFile(HDROP drop, MessageSink& sink);
