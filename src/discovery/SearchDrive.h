#pragma once

#include <string>

#include "discovery/SearchHost.h"
#include "discovery/StringList.h"

namespace docrecover {

// The text and title of the question asked when Cancel was clicked during a search.
inline constexpr const wchar_t* kCancelQuestion =
    L"Your ZEMO on CD program has not been updated.\r\n\r\n"
    L"Click Yes if you want to continue the update.\r\n"
    L"Click No if you want to cancel the update.";
inline constexpr const wchar_t* kCancelTitle = L"Cancel Update?";

// The full paths of every file on drive (a bare letter) named fileName, compared upper-cased by
// the platform's rule, in the walker's visiting order; empty when none is found or the drive's
// root cannot be opened (the walker is then left alone and nothing is shown). Every file visited
// is shown with ShowMessage2. After each file, a pending Cancel is answered: No unloads the window
// and ends the program inside this call. Platform failures of single steps are absorbed and the
// search goes on; nothing is raised to the caller.
StringList SearchDrive(SearchHost& host, const std::wstring& drive, std::wstring fileName);

}  // namespace docrecover
