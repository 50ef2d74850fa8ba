// The program's entry: the window, the desktop, then the start-up procedure.

#include <exception>
#include <string>

#include "app/Texts.h"
#include "app/modMain.h"
#include "platform/PlatformError.h"
#include "ui/Win32Desktop.h"
#include "ui/Win32MainWindow.h"

namespace {

// The error report for a failure before the start-up procedure runs (the window could not be
// made): the same stop box modMain shows for a failure inside the run.
int ReportStartFailure(const std::wstring& message, unsigned long number) {
  MessageBoxW(/*hWnd=*/nullptr, docrecover::texts::FailureBox(message, number).c_str(),
              docrecover::texts::kMsgTitle, MB_ICONSTOP | MB_OK);
  return 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
  try {
    docrecover::ui::Win32MainWindow window;
    docrecover::ui::Win32Desktop desktop(window);
    return docrecover::modMain::Main(desktop, window);
  } catch (const docrecover::PlatformError& failure) {
    return ReportStartFailure(failure.Message(), failure.Number());
  } catch (const std::exception& failure) {
    const std::string what = failure.what();
    return ReportStartFailure(std::wstring(what.begin(), what.end()), 0);
  }
}
