// What the map link's tests send the recording helper (recording_helper.cpp) besides the
// protocol's own messages.
#pragma once

#include <windows.h>

// Post a marker notice to the editor now.
constexpr UINT kRecordingHelperPostNotice = WM_APP + 1;
// Write "sync <wParam>" to the log once everything posted before has been written.
constexpr UINT kRecordingHelperSync = WM_APP + 2;
