#pragma once

// The path forms of the Win32 service. Every call gets the "\\?\" form (LongForm), which lifts the
// MAX_PATH limit; every Path the service reports is in the ordinary form.
//
// The "\\?\" form is taken literally, so a path must be full before it gets the prefix. Making a
// path full with GetFullPathNameW also trims trailing dots from its components (and dots and
// spaces from the last), so a name the listing gave as "Read Me." would name "Read Me". A path
// that is already full and plain therefore gets the prefix only; see IsFullAndPlain.

#include <string>
#include <string_view>

namespace docrecover::win32 {

// Whether path needs nothing but the prefix: it starts with "X:\" or "\\server\share\", has
// backslashes only, no component is empty, "." or "..", and it is not in the "\\?\" or "\\.\"
// form already. A drive root ("C:\") is full and plain; a bare "C:" is not.
bool IsFullAndPlain(std::wstring_view path);

// The "\\?\" form of path ("\\?\UNC\" for a share). A path that is not full and plain is first
// made full as the plain API would make it (relative parts, "." and "..", forward slashes). A path
// already in that form is kept.
std::wstring LongForm(const std::wstring& path);

// The "\\?\" form of a path that is already full and in the ordinary form, with tail appended, in
// one allocation: only the prefix is added.
std::wstring LongFormOfFull(const std::wstring& full, std::wstring_view tail = {});

// The ordinary form of a "\\?\X:" or "\\?\UNC\" path; any other path as it is (a volume path
// such as "\\?\Volume{...}\" has no ordinary form).
std::wstring OrdinaryForm(const std::wstring& path);

// A folder's path as the service reports it: full, ordinary form, no trailing backslash but at a
// drive root. "C:" is the root of C, as the service's callers mean it, not C's working folder.
std::wstring FolderPath(const std::wstring& path);

// What FindFirstFileExW gets to look path up: its long form, the last component kept as given,
// since making it full would change its wildcards ("*." would lose its dot).
std::wstring SearchPattern(const std::wstring& path);

// "X:\": a drive root as the service reports it.
bool IsDriveRoot(const std::wstring& path);

// folder, a backslash unless it ends with one, and name, in one allocation.
std::wstring Join(const std::wstring& folder, std::wstring_view name);

}  // namespace docrecover::win32
