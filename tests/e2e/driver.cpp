// The end-to-end driver: acts on DocRecover's windows as a person would and prints what it sees,
// one observation a line, for the runner to compare with what the scenario expects.
//
//   e2e_driver <step> [<step> ...]
//     window            wait for the main window; print its caption
//     layout            print the client size, every control's rectangle, the frame, whether the
//                       window is centred and owned (no task-bar button), and which control has
//                       the focus
//     panes             print both message panes ("pane1: ...", "pane2: ...")
//     box               wait for a message box; print its title, text, buttons, default and icon
//     yes | no | ok     click that button of the open message box; wait until the box is gone
//     cancel-on <text>  wait until the secondary pane shows a text starting with <text>, then
//                       click Cancel
//     close-on <text>   the same, but click the title bar's close box instead
//     time-to-box       wait for the main window to be shown, then for a message box; print the
//                       time between them ("search ms: T"). Both are seen without waiting on the
//                       program's event pump, so the figure carries no pacing delay of its own.
//     gone              wait until the main window is gone
//     aside             move the open message box off the main window, as a person drags it, and
//                       let the window repaint what it uncovers
//     where             print the main window's and the open box's places on screen ("window at:
//                       x,y WxH", "box at: ..."), frames included, for screenshots
// The first line is "driver ready", printed before any step, so that a runner can start the program
// only once the driver watches for it. Texts are printed as UTF-8 with CR as \r and LF as \n. Every
// wait is bounded (60 s): a step that times out prints "FAIL: ..." and ends the driver with
// status 2.

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "DriverWindows.h"

namespace docrecover::e2e {

namespace {

void Print(const std::wstring& line) {
  const std::string utf8 = Utf8(line) + "\n";
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
}

std::wstring Escaped(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    out += c == L'\r' ? L"\\r" : c == L'\n' ? L"\\n" : std::wstring(1, c);
  }
  return out;
}

std::wstring Rect(const RECT& r) {
  return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" " +
         std::to_wstring(r.right - r.left) + L"x" + std::to_wstring(r.bottom - r.top);
}

void PrintBox() {
  const HWND box = WaitFor(L"a message box", MessageBoxWindow);
  const BoxButtons buttons = ButtonsOf(box);
  std::wstring names;
  for (const std::wstring& name : buttons.names) {
    names += (names.empty() ? L"" : L", ") + name;
  }
  Print(L"box title: " + TextOf(box));
  Print(L"box text: " + Escaped(TextOf(GetDlgItem(box, kBoxTextId))));
  Print(L"box buttons: " + names);
  Print(L"box default: " + buttons.defaultName);
  Print(L"box icon: " + IconName(box));
}

void Answer(const std::wstring& button) {
  const HWND box = WaitFor(L"a message box", MessageBoxWindow);
  Click(ButtonNamed(box, button));
  WaitUntil(L"the message box to close", [box] { return !IsWindow(box); });
}

void PrintLayout(HWND main) {
  RECT client{};
  GetClientRect(main, &client);
  Print(L"client: " + std::to_wstring(client.right) + L"x" + std::to_wstring(client.bottom));
  for (const Control& control : kControls) {
    const HWND child = GetDlgItem(main, control.id);
    Print(std::wstring(control.name) + L": " +
          (child == nullptr ? L"missing" : Rect(ClientRectOf(child))));
  }
  const LONG style = GetWindowLongW(main, GWL_STYLE);
  Print(std::wstring(L"frame:") + ((style & WS_THICKFRAME) ? L" sizing" : L" fixed") +
        ((style & WS_MINIMIZEBOX) ? L" minimize" : L"") +
        ((style & WS_MAXIMIZEBOX) ? L" maximize" : L""));
  Print(std::wstring(L"centred: ") + (IsCentred(main) ? L"yes" : L"no"));
  Print(std::wstring(L"owned: ") + (GetWindow(main, GW_OWNER) != nullptr ? L"yes" : L"no"));
  Print(L"focus: " + FocusedControlName(main));
}

// Puts the box beside the main window, to its right where the screen has room, else to its left,
// and has the window repaint at once what the box uncovered.
void MoveBoxAside(HWND main, HWND box) {
  const RECT window = ScreenRectOf(main);
  const RECT boxRect = ScreenRectOf(box);
  const int gap = 8;
  int left = window.right + gap;
  if (left + (boxRect.right - boxRect.left) > GetSystemMetrics(SM_CXSCREEN)) {
    left = std::max(0L, window.left - gap - (boxRect.right - boxRect.left));
  }
  if (!SetWindowPos(box, /*hWndInsertAfter=*/nullptr, left, window.top, /*cx=*/0, /*cy=*/0,
                    SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) ||
      !RedrawWindow(main, /*lprcUpdate=*/nullptr, /*hrgnUpdate=*/nullptr,
                    RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW)) {
    Fail(L"cannot move the box aside: error " + std::to_wstring(GetLastError()));
  }
  Print(L"moved: box");
}

// The run from the window's first appearance to the box that ends it: with no offer made, the
// drive search as the user waits for it, window on screen.
void TimeToBox() {
  WaitFor(L"the main window", MainWindow);
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  WaitFor(L"a message box", MessageBoxWindow);
  LARGE_INTEGER end;
  LARGE_INTEGER frequency;
  QueryPerformanceCounter(&end);
  QueryPerformanceFrequency(&frequency);
  const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                    static_cast<double>(frequency.QuadPart);
  wchar_t text[32];
  swprintf(text, 32, L"%.1f", ms);
  Print(std::wstring(L"search ms: ") + text);
}

void Run(const std::vector<std::wstring>& steps) {
  for (size_t i = 0; i < steps.size(); ++i) {
    const std::wstring& step = steps[i];
    if (step == L"window") {
      WaitFor(L"the main window", MainWindow);
      Print(L"window: " + std::wstring(kCaption));
    } else if (step == L"layout") {
      PrintLayout(WaitFor(L"the main window", MainWindow));
    } else if (step == L"panes") {
      const HWND main = WaitFor(L"the main window", MainWindow);
      Print(L"pane1: " + Escaped(TextOf(Pane(main, 1))));
      Print(L"pane2: " + Escaped(TextOf(Pane(main, 2))));
    } else if (step == L"box") {
      PrintBox();
    } else if (step == L"yes" || step == L"no" || step == L"ok") {
      Answer(step == L"yes" ? L"Yes" : step == L"no" ? L"No" : L"OK");
    } else if ((step == L"cancel-on" || step == L"close-on") && i + 1 < steps.size()) {
      const std::wstring& prefix = steps[++i];
      const HWND main = WaitFor(L"the main window", MainWindow);
      const HWND pane = Pane(main, 2);
      WaitFor(L"the secondary pane to show a text",
              [&]() -> HWND { return TextOf(pane).starts_with(prefix) ? pane : nullptr; });
      if (step == L"cancel-on") {
        Click(GetDlgItem(main, kCancelId));
        Print(L"clicked: Cancel");
      } else {
        // What a click on the close box sends.
        PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, /*lParam=*/0);
        Print(L"clicked: close box");
      }
    } else if (step == L"time-to-box") {
      TimeToBox();
    } else if (step == L"aside") {
      MoveBoxAside(WaitFor(L"the main window", MainWindow),
                   WaitFor(L"a message box", MessageBoxWindow));
    } else if (step == L"where") {
      Print(L"window at: " + Rect(ScreenRectOf(WaitFor(L"the main window", MainWindow))));
      if (HWND box = MessageBoxWindow()) {
        Print(L"box at: " + Rect(ScreenRectOf(box)));
      }
    } else if (step == L"gone") {
      WaitUntil(L"the main window to close",
                [] { return FindWindowW(/*lpClassName=*/nullptr, kCaption) == nullptr; });
      Print(L"gone");
    } else {
      Fail(L"unknown step " + step);
    }
  }
}

}  // namespace

}  // namespace docrecover::e2e

int wmain(int argc, wchar_t** argv) {
  // Plain LF line ends, whatever the C runtime's text mode would make of them.
  _setmode(_fileno(stdout), _O_BINARY);
  docrecover::e2e::Print(L"driver ready");
  docrecover::e2e::Run(std::vector<std::wstring>(argv + 1, argv + argc));
  return 0;
}
