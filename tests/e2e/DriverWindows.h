#pragma once

// What the end-to-end driver knows of DocRecover's windows, and how it reads and presses them from
// another process: finding the main window and message boxes, texts through WM_GETTEXT with a
// timeout, buttons, the box's icon, and bounded waits.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace docrecover::e2e {

inline constexpr wchar_t kCaption[] = L"ZEMO On CD v 1.50 Update";
// A message box's text is the static with this id, its icon the static with kBoxIconId.
inline constexpr int kBoxTextId = 0xFFFF;
inline constexpr int kBoxIconId = 0x0440;

// The main window's controls, by the ids the window gives them.
struct Control {
  const wchar_t* name;
  int id;
};
extern const std::vector<Control> kControls;
extern const int kCancelId;

[[noreturn]] void Fail(const std::wstring& why);
std::string Utf8(const std::wstring& text);

// Polls found() until it gives a window, or fails after 60 s.
HWND WaitFor(const wchar_t* what, const std::function<HWND()>& found);
// Polls done() until it is true, or fails after 60 s.
void WaitUntil(const wchar_t* what, const std::function<bool()>& done);

// The visible main window, or null.
HWND MainWindow();
// A visible message box of another process, or null.
HWND MessageBoxWindow();
// The main (1) or the secondary (2) message pane.
HWND Pane(HWND main, int number);

// A window's text, read with a timeout so that a hung program fails the step instead of the run.
std::wstring TextOf(HWND window);
// A control's rectangle in its parent's client coordinates.
RECT ClientRectOf(HWND control);
// A window's rectangle on screen, frame included.
RECT ScreenRectOf(HWND window);
bool IsCentred(HWND window);
// The name in kControls of the control that has the keyboard focus in window's thread.
std::wstring FocusedControlName(HWND window);

struct BoxButtons {
  std::vector<std::wstring> names;  // in the order the box shows them, without '&'
  std::wstring defaultName;
};
BoxButtons ButtonsOf(HWND box);
HWND ButtonNamed(HWND box, const std::wstring& name);
// Presses a button as a click would; fails on a missing or disabled one.
void Click(HWND button);
// "stop", "exclamation", "information", "question", "none" or "unknown".
std::wstring IconName(HWND box);

}  // namespace docrecover::e2e
