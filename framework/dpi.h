// The DPI a window is drawn at, for windows that size things in pixels themselves.
#pragma once

#include <windows.h>

#include "framework/display_scale.h"

// The DPI of the monitor `hwnd` is on (Windows 10 1607 and later); on older Windows, the
// system's DPI. A program Windows does not count as DPI aware gets 96 and is stretched.
DisplayScale WindowScale(HWND hwnd);
// The system's DPI: for what is sized before its window exists.
DisplayScale SystemScale();
