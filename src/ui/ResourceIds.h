#pragma once

// Resource numbers shared by DocRecover.rc and the code that loads them. Plain #defines only:
// the resource compiler reads this file too.

// The program icon: the lowest number, so the shell shows it for DocRecover.exe.
#define DOCRECOVER_ICON 1
// The banner JPEG shown in picMain, kept as raw bytes (RCDATA).
#define DOCRECOVER_BANNER 101
// The list of documents the program vouches for (RCDATA, UTF-8 text): present only in a program
// built with a documents folder.
#define DOCRECOVER_DOCUMENTS 201
