#include "app/modMain.h"

#include <exception>

#include "app/DocumentCheck.h"
#include "app/Texts.h"
#include "app/frmMain.h"
#include "platform/PlatformError.h"

namespace docrecover::modMain {

namespace {

constexpr uint32_t kFileMask =
    attribute::kReadOnly | attribute::kHidden | attribute::kSystem | attribute::kArchive;

// Shows the error report and closes the window; a failure of the report itself passes up.
int ReportFailure(Desktop& desktop, MainWindowView& window, const std::wstring& text) {
  desktop.ShowMessageBox(text, box::kStop, texts::kMsgTitle);
  window.Unload();
  return 1;
}

// what() is narrow text of unknown encoding: ASCII is kept, any other byte shows as '?'.
std::wstring Widened(const char* what) {
  std::wstring wide;
  for (const char* c = what; *c != '\0'; ++c) {
    const auto byte = static_cast<unsigned char>(*c);
    wide.push_back(byte < 0x80 ? static_cast<wchar_t>(byte) : L'?');
  }
  return wide;
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
  } catch (const DocumentsRefused& refusal) {
    return ReportFailure(desktop, window,
                         texts::RefusedDocumentsBox(refusal.Problem(), texts::SupportText()));
  } catch (const PlatformError& failure) {
    return ReportFailure(desktop, window, texts::FailureBox(failure.Message(), failure.Number()));
  } catch (const std::exception& failure) {
    return ReportFailure(desktop, window, texts::InternalFailureBox(Widened(failure.what())));
  }
}

bool FileExists(FileSystemService& fileSystem, const std::wstring& path) {
  return !fileSystem.FindEntry(path, kFileMask).empty();
}

}  // namespace docrecover::modMain
