#pragma once

// The contract suite's test bed, which Win32Contract.cpp keeps on real files under Wine. It makes
// and reads items behind the service's back, so that a case never checks the service with the
// service. Paths are full paths with backslashes.

#include <cstdint>
#include <optional>
#include <string>

namespace docrecover::testing {

// A new empty folder on a fixed drive ("X:\..."), for one case.
std::wstring NewScratchFolder();
// A folder or a file whose parent exists; attributes: any of kReadOnly, kHidden and kSystem.
void MakeFolder(const std::wstring& path, uint32_t attributes = 0);
void MakeFile(const std::wstring& path, const std::string& content = "", uint32_t attributes = 0);
// A folder holding the file doc.txt and the link "loop" back to itself.
std::wstring LinkLoop();
// The content of the file at path; nothing when there is no file there.
std::optional<std::string> Content(const std::wstring& path);

}  // namespace docrecover::testing
