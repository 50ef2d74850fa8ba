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
int ReportStartFailure(const std::wstring& text) {
  MessageBoxW(/*hWnd=*/nullptr, text.c_str(), docrecover::texts::kMsgTitle, MB_ICONSTOP | MB_OK);
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
    return ReportStartFailure(docrecover::texts::FailureBox(failure.Message(), failure.Number()));
  } catch (const std::exception& failure) {
    // Not the platform's: there is no error number to give.
    const std::string what = failure.what();
    return ReportStartFailure(
        docrecover::texts::InternalFailureBox(std::wstring(what.begin(), what.end())));
  }
}
