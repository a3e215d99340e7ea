// EditorApp: the application. It initialises OLE, runs the main window modally, and
// ends the process when the window closes.
#pragma once

#include <string>

class EditorApp {
 public:
  // Runs the program with the text after the program's name on its command line (UTF-16,
  // as Windows gives it). Returns the process's exit code.
  int InitInstance(const wchar_t* commandLine);
};

// The command-line text after the program's name, converted to Shift_JIS. A text that
// Shift_JIS cannot hold gives the message to show instead and an empty text.
std::string CommandLineText(const wchar_t* commandLine, std::string* refusal);
