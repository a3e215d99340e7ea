// The program's entry point: the one EditorApp, given the command line after the
// program's name (wWinMain's lpCmdLine already skips the name and the blanks after it).
#include <windows.h>

#include "app/editor_app.h"

namespace {
EditorApp g_app;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) { return g_app.InitInstance(commandLine); }
