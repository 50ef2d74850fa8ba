#pragma once

// Counts the directory listings this program makes, per listed folder, by routing its own calls
// of FindFirstFileExW (through its import table) via a counter. This measures what reaches the
// operating system, beneath any caching the file-system service does.

#include <map>
#include <string>

namespace docrecover::bench {

// Routes FindFirstFileExW through the counter from now on; fails (throws PlatformError) when the
// program's import table does not name it.
void CountListings();

// Folder path (as "D:\" for a root, no trailing backslash otherwise, no "\\?\") -> listings.
const std::map<std::wstring, long>& ListingsPerFolder();

}  // namespace docrecover::bench
