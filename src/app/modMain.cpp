#include "app/modMain.h"

#include <exception>

#include "app/Texts.h"
#include "app/frmMain.h"
#include "platform/PlatformError.h"

namespace docrecover::modMain {

namespace {

constexpr uint32_t kFileMask =
    attribute::kReadOnly | attribute::kHidden | attribute::kSystem | attribute::kArchive;

int ReportFailure(Desktop& desktop, MainWindowView& window, const std::wstring& message,
                  unsigned long number) {
  desktop.ShowMessageBox(texts::FailureBox(message, number), box::kStop, texts::kMsgTitle);
  window.Unload();
  return 1;
}

}  // namespace

int Main(Desktop& desktop, MainWindowView& window) {
  // The error report is the one place that catches: whatever failed has ended the run, and the
  // user is told what it was instead of the program vanishing.
  try {
    frmMain form(desktop, window);
    form.Main();
    window.Unload();
    return 0;
  } catch (const PlatformError& failure) {
    return ReportFailure(desktop, window, failure.Message(), failure.Number());
  } catch (const std::exception& failure) {
    const std::string what = failure.what();
    return ReportFailure(desktop, window, std::wstring(what.begin(), what.end()), 0);
  }
}

bool FileExists(FileSystemService& fileSystem, const std::wstring& path) {
  return !fileSystem.FindEntry(path, kFileMask).empty();
}

}  // namespace docrecover::modMain
