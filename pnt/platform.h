// What pnt does differently on POSIX and on Windows: the file store the core reads and writes
// point files through, opening an input file, and the command line and standard streams.
// Paths are UTF-8 everywhere in pnt.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "pointfile/file_store.h"

// PosixFileStore, or Win32FileStore on Windows.
FileStore& SystemFileStore();

// `utf8` as a path of the standard library, which on Windows would otherwise read it in the
// system's ANSI code page.
std::filesystem::path FileSystemPath(const std::string& utf8);

// Opens the input file `path` for reading, or returns null with errno set. Never waits: a FIFO
// without a writer reads as empty, and on Windows a device (CON, COM1) is refused.
std::FILE* OpenInputFile(const std::string& path);

// The command line as UTF-8. On Windows this also makes the standard streams binary (CSV keeps
// its CRLF as written) and the console show UTF-8.
std::vector<std::string> Utf8Arguments(int argc, char** argv);
