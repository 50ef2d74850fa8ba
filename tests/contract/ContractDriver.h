#pragma once

// What the contract suite needs from an implementation's test bed. FileSystemContract.cpp is
// written once against these functions; each test executable links it with one driver that
// defines them (the in-memory one natively, the Win32 one on real files under Wine).
//
// The driver makes and reads items behind the service's back, so that a case never checks the
// service with the service. Paths are full paths with backslashes.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/FileSystemService.h"

namespace docrecover::testing {

// The service under test.
FileSystemService& Service();
// A new empty folder on a fixed drive ("X:\..."), for one case.
std::wstring NewScratchFolder();
// A folder or a file whose parent exists; attributes: any of kReadOnly, kHidden and kSystem.
void MakeFolder(const std::wstring& path, uint32_t attributes = 0);
void MakeFile(const std::wstring& path, const std::string& content = "", uint32_t attributes = 0);
// Holds the file at path open without sharing, as another program would, or lets it go (one file
// at a time); gives path.
std::wstring Hold(const std::wstring& path, bool held);
// A folder holding the file doc.txt and the link "loop" back to itself.
std::wstring LinkLoop();
// The content of the file at path; nothing when there is no file there.
std::optional<std::string> Content(const std::wstring& path);

}  // namespace docrecover::testing
