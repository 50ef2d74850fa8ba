#include "ui/SingleInstance.h"

#include "ui/Win32Api.h"
#include "ui/Win32MainWindow.h"

namespace docrecover::ui {

namespace {

// A named mutex in the global namespace. What it guards is the machine's, not a session's: the
// installations under Program Files and the temporary names in them are the same for every user,
// and a second user (fast user switching, a remote session) would meet the first copy's files. A
// mutex needs no privilege there (only a file mapping does).
constexpr wchar_t kMutexName[] = L"Global\\DocRecover.ZEMO-On-CD-Update";

}  // namespace

bool ClaimSingleInstance() {
  // Never closed: the claim ends with the process, however it ends.
  const HANDLE mutex =
      CreateMutexW(/*lpMutexAttributes=*/nullptr, /*bInitialOwner=*/FALSE, kMutexName);
  const DWORD error = GetLastError();
  // A copy that runs elevated may make a mutex that another copy is not let open: access denied
  // means it runs too. Any other failure runs the program, which is better than refusing it.
  return mutex == nullptr ? error != ERROR_ACCESS_DENIED : error != ERROR_ALREADY_EXISTS;
}

void BringRunningCopyForward() {
  const HWND window = FindWindowW(Win32MainWindow::kClassName, /*lpWindowName=*/nullptr);
  if (window != nullptr) {
    // The box the running copy shows is owned by its window, and is what the user must answer.
    SetForegroundWindow(GetLastActivePopup(window));
  }
}

}  // namespace docrecover::ui
