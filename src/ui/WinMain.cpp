// The program's entry: one copy only, the window, the desktop, then the start-up procedure.

#include <exception>
#include <string>

#include "app/Texts.h"
#include "app/modMain.h"
#include "platform/PlatformError.h"
#include "ui/SingleInstance.h"
#include "ui/Win32Desktop.h"
#include "ui/Win32MainWindow.h"

namespace {

// Runs before anything else. The program asks for elevation, so it must not let a DLL planted
// beside it (in a Downloads folder, say) be loaded in place of a system one: DLLs come from
// System32 only. SetDefaultDllDirectories is looked up, since Windows 7 has it only with update
// KB2533623; without it the static imports, all known DLLs, are taken from System32 anyway.
// A drive without its medium must not stop the run with a system box either.
void HardenProcess() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefaultDllDirectories != nullptr) {
    setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

// The error report for a failure before the start-up procedure runs (the claim to run or the
// window could not be made): the same stop box modMain shows for a failure inside the run.
int ReportStartFailure(const std::wstring& text) {
  MessageBoxW(/*hWnd=*/nullptr, text.c_str(), docrecover::texts::kMsgTitle, MB_ICONSTOP | MB_OK);
  return 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
  HardenProcess();
  try {
    // Held until the program ends.
    const auto claim = docrecover::ui::ClaimSingleInstance();
    if (!claim) {
      // Another copy runs: this one touches no file.
      docrecover::ui::StepAside();
      return 0;
    }
    docrecover::ui::Win32MainWindow window;
    docrecover::ui::Win32Desktop desktop(window);
    return docrecover::modMain::Main(desktop, window);
  } catch (const docrecover::PlatformError& failure) {
    return ReportStartFailure(docrecover::texts::FailureBox(failure.Message(), failure.Number()));
  } catch (const std::exception& failure) {
    // Not the platform's: there is no error number to give.
    const std::string what = failure.what();
    return ReportStartFailure(
        docrecover::texts::InternalFailureBox(std::wstring(what.begin(), what.end())));
  }
}
