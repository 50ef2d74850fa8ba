#include "NullSearchHost.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/win32/Win32FileSystem.h"

namespace docrecover::bench {

NullSearchHost::NullSearchHost(FileSystemPtr fileSystem)
    : fileSystem_(std::move(fileSystem)), walker_([] { return NewWin32FileSystem(); }) {}

int32_t NullSearchHost::ShowMessageBox(const std::wstring& text, int32_t style,
                                       const std::wstring& title) {
  std::fwprintf(stderr, L"the search asked an unexpected question (style %d, %ls): %ls\n",
                static_cast<int>(style), title.c_str(), text.c_str());
  std::exit(3);
}

void NullSearchHost::EndProgram() {
  std::fputs("the search asked to end the program\n", stderr);
  std::exit(3);
}

}  // namespace docrecover::bench
