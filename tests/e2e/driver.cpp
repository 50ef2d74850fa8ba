// The end-to-end driver: acts on DocRecover's windows as a person would and prints what it sees,
// one observation a line, for the runner to compare with what the scenario expects.
//
//   e2e_driver <step> [<step> ...]
//     window            wait for the main window
//     panes             print both panes ("pane1: ...", "pane2: ...")
//     box               wait for a message box; print its title, text, buttons and icon
//     yes | no | ok     answer the open message box
//     cancel-on-path    wait until the secondary pane shows a path, then click Cancel
//     rects             print the main window's client size and every control's rectangle
//     gone              wait until DocRecover's windows are gone
// Texts are printed with CR as \r and LF as \n. Every wait is bounded (60 s) and fails the run.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD kWaitMs = 60000;
constexpr wchar_t kCaption[] = L"ZEMO On CD v 1.50 Update";

[[noreturn]] void Fail(const std::wstring& why) {
  std::wprintf(L"FAIL: %ls\n", why.c_str());
  std::fflush(stdout);
  ExitProcess(2);
}

std::wstring Escaped(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'\r') {
      out += L"\\r";
    } else if (c == L'\n') {
      out += L"\\n";
    } else {
      out += c;
    }
  }
  return out;
}

void Print(const std::wstring& line) {
  // UTF-8 on stdout, whatever the console's code page.
  const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, utf8.data(), size, nullptr, nullptr);
  std::fputs(utf8.c_str(), stdout);
  std::fputs("\n", stdout);
  std::fflush(stdout);
}

std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
    Fail(L"the window does not answer WM_GETTEXTLENGTH");
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  text.resize(copied);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// Polls until found() gives a window, for at most kWaitMs.
template <class Find>
HWND WaitFor(const wchar_t* what, Find found) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < kWaitMs) {
    if (HWND window = found()) {
      return window;
    }
    Sleep(20);
  }
  Fail(std::wstring(L"timed out waiting for ") + what);
}

HWND MainWindow() {
  HWND window = FindWindowW(/*lpClassName=*/nullptr, kCaption);
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

DWORD ProgramProcess() {
  DWORD process = 0;
  if (HWND window = FindWindowW(nullptr, kCaption)) {
    GetWindowThreadProcessId(window, &process);
  }
  return process;
}

struct BoxSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == search->process && IsWindowVisible(window) && ClassOf(window) == L"#32770" &&
      GetDlgItem(window, 0xFFFF) != nullptr) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND MessageBoxWindow() {
  static DWORD process = 0;
  if (process == 0) {
    process = ProgramProcess();
  }
  BoxSearch search{process, nullptr};
  EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The icon of a message box, told apart by comparing its pixels with the system's icons.
std::wstring IconName(HWND box) {
  HWND icon = GetDlgItem(box, 0x0440);
  if (icon == nullptr) {
    return L"none";
  }
  auto pixels = [](HICON handle) {
    std::vector<unsigned char> bits;
    ICONINFO info{};
    if (handle == nullptr || !GetIconInfo(handle, &info)) {
      return bits;
    }
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = bitmap.bmWidth;
    header.bmiHeader.biHeight = bitmap.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    bits.resize(static_cast<size_t>(bitmap.bmWidth) * bitmap.bmHeight * 4);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmColor, 0, bitmap.bmHeight, bits.data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bits;
  };
  const auto shown =
      pixels(reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, /*wParam=*/0, /*lParam=*/0)));
  const struct {
    LPCWSTR id;
    const wchar_t* name;
  } icons[] = {{IDI_HAND, L"stop"},
               {IDI_EXCLAMATION, L"exclamation"},
               {IDI_ASTERISK, L"information"},
               {IDI_QUESTION, L"question"}};
  for (const auto& candidate : icons) {
    if (!shown.empty() && pixels(LoadIconW(nullptr, candidate.id)) == shown) {
      return candidate.name;
    }
  }
  return L"unknown";
}

BOOL CALLBACK CollectButtons(HWND child, LPARAM param) {
  if (ClassOf(child) == L"Button" && IsWindowVisible(child)) {
    auto* names = reinterpret_cast<std::wstring*>(param);
    std::wstring text = TextOf(child);
    std::erase(text, L'&');
    *names += (names->empty() ? L"" : L",") + text;
  }
  return TRUE;
}

void DescribeBox() {
  HWND box = WaitFor(L"a message box", MessageBoxWindow);
  std::wstring buttons;
  EnumChildWindows(box, CollectButtons, reinterpret_cast<LPARAM>(&buttons));
  Print(L"box title: " + TextOf(box));
  Print(L"box text: " + Escaped(TextOf(GetDlgItem(box, 0xFFFF))));
  Print(L"box buttons: " + buttons);
  Print(L"box icon: " + IconName(box));
}

void Answer(WPARAM id) {
  HWND box = WaitFor(L"a message box", MessageBoxWindow);
  PostMessageW(box, WM_COMMAND, id, 0);
  const DWORD start = GetTickCount();
  while (IsWindow(box) && GetTickCount() - start < kWaitMs) {
    Sleep(10);
  }
  if (IsWindow(box)) {
    Fail(L"the message box stayed open");
  }
}

// The main window's children in z-order, with their rectangles in client coordinates.
struct Child {
  HWND window;
  RECT rect;
};

BOOL CALLBACK CollectChildren(HWND child, LPARAM param) {
  auto* children = reinterpret_cast<std::vector<Child>*>(param);
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(/*hWndFrom=*/nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  children->push_back({child, rect});
  return TRUE;
}

std::vector<Child> Children(HWND main) {
  std::vector<Child> children;
  EnumChildWindows(main, CollectChildren, reinterpret_cast<LPARAM>(&children));
  return children;
}

// A pane is found by its place: txtMessage at (8, 54), txtMessage2 at (8, 176) at 96 DPI.
HWND ChildAt(HWND main, int left, int top) {
  for (const Child& child : Children(main)) {
    if (child.rect.left == left && child.rect.top == top) {
      return child.window;
    }
  }
  Fail(L"no control at " + std::to_wstring(left) + L"," + std::to_wstring(top));
}

HWND CancelButton(HWND main) {
  for (const Child& child : Children(main)) {
    if (ClassOf(child.window) == L"Button" && TextOf(child.window) == L"Cancel") {
      return child.window;
    }
  }
  Fail(L"no Cancel button");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::wstring step = argv[i];
    if (step == L"window") {
      WaitFor(L"the main window", MainWindow);
      Print(L"window: " + std::wstring(kCaption));
    } else if (step == L"panes") {
      HWND main = WaitFor(L"the main window", MainWindow);
      Print(L"pane1: " + Escaped(TextOf(ChildAt(main, 8, 54))));
      Print(L"pane2: " + Escaped(TextOf(ChildAt(main, 8, 176))));
    } else if (step == L"box") {
      DescribeBox();
    } else if (step == L"yes" || step == L"no" || step == L"ok") {
      Answer(step == L"yes" ? IDYES : step == L"no" ? IDNO : IDOK);
    } else if (step == L"cancel-on-path") {
      HWND main = WaitFor(L"the main window", MainWindow);
      HWND pane = ChildAt(main, 8, 176);
      WaitFor(L"a path in the secondary pane", [&]() -> HWND {
        return TextOf(pane).find(L'\\') != std::wstring::npos ? pane : nullptr;
      });
      PostMessageW(CancelButton(main), BM_CLICK, 0, 0);
      Print(L"clicked: Cancel");
    } else if (step == L"rects") {
      HWND main = WaitFor(L"the main window", MainWindow);
      RECT client{};
      GetClientRect(main, &client);
      Print(L"client: " + std::to_wstring(client.right) + L"x" + std::to_wstring(client.bottom));
      for (const Child& child : Children(main)) {
        const RECT& r = child.rect;
        Print(L"control: " + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" " +
              std::to_wstring(r.right - r.left) + L"x" + std::to_wstring(r.bottom - r.top));
      }
    } else if (step == L"gone") {
      const DWORD start = GetTickCount();
      while (FindWindowW(nullptr, kCaption) != nullptr && GetTickCount() - start < kWaitMs) {
        Sleep(20);
      }
      if (FindWindowW(nullptr, kCaption) != nullptr) {
        Fail(L"the main window stayed");
      }
      Print(L"gone");
    } else {
      Fail(L"unknown step " + step);
    }
  }
  return 0;
}
