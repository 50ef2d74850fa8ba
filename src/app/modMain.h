#pragma once

// The start-up procedure: the program's entry, below the platform's own.

#include <string>

#include "platform/Desktop.h"

namespace docrecover::modMain {

// Creates the one frmMain, runs its update sequence and unloads the window. Returns the exit
// status: 0 for every end of the sequence, 1 after the error report, a stop box saying what
// failed, shown when a failure ends the run, or after the stop box of a disc whose documents
// the program does not vouch for. A failure of the report itself passes up, and so
// does anything thrown that is no std::exception.
int Main(Desktop& desktop, MainWindowView& window);

// Whether path names a file, hidden, system or read-only alike, but not a folder (mask 39).
bool FileExists(FileSystemService& fileSystem, const std::wstring& path);

}  // namespace docrecover::modMain
