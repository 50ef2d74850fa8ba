// Times the whole program, window on screen: starts it, waits for its window and then for its
// first message box, answers the box with OK and waits for the program to end.
//
//   bench_program_timer <program file>
//   bench_program_timer --until-exit <program file> [argument]
// The second form times the program's floor instead: it starts another program the same way and
// prints "exit ms: T", from starting it to its end, and "exit code: N".
//
// Prints "window ms: T" (from starting the process to its first visible window: the start-up),
// "box ms: T" (from starting it to the first message box), the box's title and text (UTF-8, CR LF
// as \r\n) and "exit code: N". A bench build of the program (bench_docrecover_repaint*) also
// publishes what its window's pacer measured up to the box, printed as "window work us: N" (all
// its repaints and pumps), "repaint us: N" (its repaints) and "repaints: N". Between them, "main
// pane ms: T: text" for every text the window's main pane was seen to show, which times the steps
// of the run. Fails (status 2) when no box comes within two minutes.

#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>

#include "Stopwatch.h"

namespace docrecover::bench {

namespace {

constexpr double kBoxTimeoutMs = 120000;
constexpr DWORD kPollMs = 5;        // small beside a search of seconds, light on a shared CPU
constexpr int kBoxTextId = 0xFFFF;  // the static control holding a message box's text
constexpr int kMainPaneId = 101;    // txtMessage, where the program says what it is doing

struct Windows {
  DWORD processId = 0;
  HWND main = nullptr;  // the first visible window of the process
  HWND box = nullptr;   // a later visible dialog of the process
};

BOOL CALLBACK Look(HWND window, LPARAM state) {
  Windows& windows = *reinterpret_cast<Windows*>(state);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != windows.processId || !IsWindowVisible(window)) {
    return TRUE;
  }
  wchar_t className[16] = {};
  GetClassNameW(window, className, /*nMaxCount=*/16);
  if (windows.main == nullptr) {
    windows.main = window;
  } else if (window != windows.main && std::wstring(className) == L"#32770") {
    windows.box = window;
    return FALSE;
  }
  return TRUE;
}

std::wstring TextOf(HWND window) {
  wchar_t text[2048] = {};
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, /*wParam=*/2048, reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, /*uTimeout=*/5000, &length)) {
    return L"(unreadable: error " + std::to_wstring(GetLastError()) + L")";
  }
  return text;
}

// UTF-8, with CR and LF spelled out so that each text stays on one line.
std::string Printable(const std::wstring& text) {
  std::wstring escaped;
  for (wchar_t c : text) {
    escaped += c == L'\r' ? L"\\r" : c == L'\n' ? L"\\n" : std::wstring(1, c);
  }
  const int size = WideCharToMultiByte(CP_UTF8, /*dwFlags=*/0, escaped.c_str(), -1,
                                       /*lpMultiByteStr=*/nullptr, /*cbMultiByte=*/0,
                                       /*lpDefaultChar=*/nullptr, /*lpUsedDefaultChar=*/nullptr);
  std::string utf8(size > 0 ? size - 1 : 0, '\0');
  WideCharToMultiByte(CP_UTF8, /*dwFlags=*/0, escaped.c_str(), -1, utf8.data(), size,
                      /*lpDefaultChar=*/nullptr, /*lpUsedDefaultChar=*/nullptr);
  return utf8;
}

int Fail(const char* what, HANDLE process) {
  std::fprintf(stderr, "%s\n", what);
  TerminateProcess(process, /*uExitCode=*/1);
  return 2;
}

}  // namespace

}  // namespace docrecover::bench

int wmain(int argc, wchar_t** argv) {
  using namespace docrecover::bench;
  const bool untilExit = argc > 1 && std::wstring(argv[1]) == L"--until-exit";
  const int first = untilExit ? 2 : 1;
  if (argc <= first || argc > first + (untilExit ? 2 : 1)) {
    std::fputs("usage: bench_program_timer [--until-exit] <program file> [argument]\n", stderr);
    return 2;
  }
  std::wstring commandLine = L"\"" + std::wstring(argv[first]) + L"\"";
  if (argc > first + 1) {
    commandLine += L" " + std::wstring(argv[first + 1]);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const Stopwatch clock;
  if (!CreateProcessW(/*lpApplicationName=*/argv[first], commandLine.data(),
                      /*lpProcessAttributes=*/nullptr, /*lpThreadAttributes=*/nullptr,
                      /*bInheritHandles=*/FALSE, /*dwCreationFlags=*/0, /*lpEnvironment=*/nullptr,
                      /*lpCurrentDirectory=*/nullptr, &startup, &process)) {
    std::fprintf(stderr, "cannot start the program: error %lu\n", GetLastError());
    return 2;
  }
  CloseHandle(process.hThread);
  Windows windows;
  windows.processId = process.dwProcessId;
  if (untilExit) {
    // Polled as the program is below, so that both sides share the core with the same poll.
    while (WaitForSingleObject(process.hProcess, kPollMs) != WAIT_OBJECT_0) {
      if (clock.Milliseconds() > kBoxTimeoutMs) {
        return Fail("the program did not end within two minutes", process.hProcess);
      }
      EnumWindows(Look, reinterpret_cast<LPARAM>(&windows));
    }
    const double exitMs = clock.Milliseconds();
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    std::printf("exit ms: %.1f\nexit code: %lu\n", exitMs, exitCode);
    return 0;
  }

  double windowMs = 0;
  std::wstring paneText;
  std::string paneSteps;
  while (windows.box == nullptr) {
    if (WaitForSingleObject(process.hProcess, kPollMs) == WAIT_OBJECT_0) {
      return Fail("the program ended before any message box", process.hProcess);
    }
    if (clock.Milliseconds() > kBoxTimeoutMs) {
      return Fail("no message box within two minutes", process.hProcess);
    }
    const bool hadWindow = windows.main != nullptr;
    EnumWindows(Look, reinterpret_cast<LPARAM>(&windows));
    if (!hadWindow && windows.main != nullptr) {
      windowMs = clock.Milliseconds();
    }
    if (windows.main != nullptr && windows.box == nullptr) {
      // Answered in the program's own event pump, which it runs once a frame while it works.
      const std::wstring text = TextOf(GetDlgItem(windows.main, kMainPaneId));
      if (text != paneText) {
        paneText = text;
        char ms[32];
        std::snprintf(ms, sizeof(ms), "%.1f", clock.Milliseconds());
        paneSteps += "main pane ms: " + std::string(ms) + ": " + Printable(text) + "\n";
      }
    }
  }
  const double boxMs = clock.Milliseconds();

  std::printf("window ms: %.1f\n%sbox ms: %.1f\n", windowMs, paneSteps.c_str(), boxMs);
  for (const auto& [name, label] : {std::pair{L"DocRecover.WindowMicroseconds", "window work us"},
                                    std::pair{L"DocRecover.RepaintMicroseconds", "repaint us"},
                                    std::pair{L"DocRecover.Repaints", "repaints"}}) {
    if (const HANDLE value = GetPropW(windows.main, name)) {
      std::printf("%s: %lld\n", label, static_cast<long long>(reinterpret_cast<INT_PTR>(value)));
    }
  }
  std::printf("box title: %s\n", Printable(TextOf(windows.box)).c_str());
  std::printf("box text: %s\n", Printable(TextOf(GetDlgItem(windows.box, kBoxTextId))).c_str());
  PostMessageW(windows.box, WM_COMMAND, /*wParam=*/IDOK, /*lParam=*/0);
  if (WaitForSingleObject(process.hProcess, /*dwMilliseconds=*/30000) != WAIT_OBJECT_0) {
    return Fail("the program did not end after the box was answered", process.hProcess);
  }
  DWORD exitCode = 0;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hProcess);
  std::printf("exit code: %lu\n", exitCode);
  return 0;
}
