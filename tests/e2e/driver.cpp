// The end-to-end driver: starts DocRecover.exe and acts on its windows as a person would, printing
// what it sees, a line each, for tests/e2e/run and scripts/demo.
//
//   e2e_driver <step>...
//     lock <file>      hold the file open, unshared, until the driver ends
//     start <program>  start the program
//     again <program>  once the main window is up, start the program a second time; wait for that
//                      copy to end (10 s); print "second copy: exit <status>"
//     box              wait for a message box; print "box: <title>: " and the first two
//                      paragraphs of its text, the second on lines of their own
//     yes | no | ok    press that button of the open box; wait until the box is gone
//     cancel           wait for the main window; click its Cancel button
//     panes            print "pane <id>: <text>" of each message pane, as a screen reader reads it
//     end              wait for the program to end; print "exit: <status>"
//     announced        print "live region: <n> from the main pane, <m> from elsewhere": the
//                      live-region changes the program has announced so far, as a screen reader
//                      in another process hears them
// Every wait is bounded (60 s) and pumps the driver's messages, which carry those announcements.
// A step that fails prints "FAIL: <why>" and ends the program and the driver with status 2.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr wchar_t kCaption[] = L"ZEMO On CD v 1.50 Update";
constexpr DWORD kLiveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED
PROCESS_INFORMATION program{};
int announcedByMainPane = 0;
int announcedElsewhere = 0;

[[noreturn]] void Fail(const char* what) {
  std::printf("FAIL: %s\n", what);
  TerminateProcess(program.hProcess, 2);
  ExitProcess(2);
}

// Called, as the driver pumps, for each live-region change of any process's windows.
void CALLBACK Announced(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD thread,
                        DWORD) {
  if (thread == program.dwThreadId) {
    const bool mainPane = GetDlgCtrlID(window) == 101 && object == OBJID_CLIENT && child == 0;
    ++(mainPane ? announcedByMainPane : announcedElsewhere);
  }
}

// Waits up to ms for a message to the driver, then handles every one waiting.
void Pump(DWORD ms) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
  for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
    DispatchMessageW(&message);
  }
}

// Starts the program at path, or fails.
PROCESS_INFORMATION Start(const wchar_t* path) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    Fail("cannot start the program");
  }
  return started;
}

// The exit status of process, once it has ended within milliseconds. The driver pumps meanwhile,
// so that the hook hears every live-region change.
DWORD ExitStatus(HANDLE process, DWORD milliseconds, const char* what) {
  DWORD status = STILL_ACTIVE;
  for (DWORD waited = 0; waited < milliseconds && status == STILL_ACTIVE; waited += 10, Pump(10)) {
    GetExitCodeProcess(process, &status);
  }
  if (status == STILL_ACTIVE) {
    TerminateProcess(process, 2);
    Fail(what);
  }
  return status;
}

// Waits for a visible top-level window of that class or caption, or else for window gone to close.
// Whatever the program announced before that is handled before it returns.
HWND WaitFor(const char* what, const wchar_t* className, const wchar_t* caption,
             HWND gone = nullptr) {
  for (int polls = 0; polls < 6000; ++polls, Pump(10)) {
    const HWND window = FindWindowW(className, caption);
    if (gone != nullptr ? !IsWindow(gone) : IsWindowVisible(window)) {
      Pump(0);
      return window;
    }
  }
  Fail(what);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  SetWinEventHook(kLiveRegionChanged, kLiveRegionChanged, nullptr, Announced, 0, 0,
                  WINEVENT_OUTOFCONTEXT);
  const auto findMainWindow = [] { return WaitFor("no main window", nullptr, kCaption); };
  const auto findBox = [] { return WaitFor("no message box", L"#32770", nullptr); };
  for (int i = 1; i < argc; ++i) {
    const std::wstring step = argv[i];
    const wchar_t* operand = i + 1 < argc ? argv[i + 1] : L"";
    i += step == L"lock" || step == L"start" || step == L"again";
    if (step == L"lock") {
      if (CreateFileW(operand, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) ==
          INVALID_HANDLE_VALUE) {
        Fail("cannot lock the file");
      }
    } else if (step == L"start") {
      program = Start(operand);
    } else if (step == L"again") {
      findMainWindow();
      const DWORD status =
          ExitStatus(Start(operand).hProcess, 10000, "the second copy does not end");
      std::printf("second copy: exit %lu\n", status);
    } else if (step == L"box") {
      const HWND box = findBox();
      wchar_t title[64] = {}, text[1024] = {};
      GetWindowTextW(box, title, 64);
      GetWindowTextW(GetDlgItem(box, 0xFFFF), text, 1024);
      // The second paragraph holds the folder, the question or the error.
      std::wstring shown = text;
      const size_t first = std::min(shown.find(L"\r\n\r\n"), shown.size());
      shown = shown.substr(0, shown.find(L"\r\n\r\n", first + 1)).replace(first, 2, L"");
      std::printf("box: %ls: %ls\n", title, shown.c_str());
    } else if (step == L"yes" || step == L"no" || step == L"ok") {
      const HWND box = findBox();
      PostMessageW(box, WM_COMMAND, step == L"yes" ? IDYES : step == L"no" ? IDNO : IDOK, 0);
      WaitFor("the box stays open", nullptr, nullptr, box);
    } else if (step == L"cancel") {
      PostMessageW(GetDlgItem(findMainWindow(), IDCANCEL), BM_CLICK, 0, 0);
    } else if (step == L"panes") {
      // As a screen reader in another process reads a pane: the text stored with the window, for
      // which the pane itself is not asked.
      for (const int id : {101, 102}) {
        wchar_t text[1024] = {};
        InternalGetWindowText(GetDlgItem(FindWindowW(nullptr, kCaption), id), text, 1024);
        std::printf("pane %d: %ls\n", id, text);
      }
    } else if (step == L"end") {
      std::printf("exit: %lu\n", ExitStatus(program.hProcess, 60000, "the program does not end"));
    } else if (step == L"announced") {
      Pump(0);
      std::printf("live region: %d from the main pane, %d from elsewhere\n", announcedByMainPane,
                  announcedElsewhere);
    } else {
      Fail("unknown step");
    }
  }
  return 0;
}
