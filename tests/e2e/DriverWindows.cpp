#include "DriverWindows.h"

#include <cstdio>
#include <cstdlib>
#include <cstdint>

namespace docrecover::e2e {

namespace {

constexpr DWORD kWaitMs = 60000;
constexpr DWORD kPollMs = 5;
// How long a box's icon may take to be painted before it counts as unrecognised.
constexpr DWORD kIconPaintMs = 5000;

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring Unmnemonic(std::wstring text) {
  std::erase(text, L'&');
  return text;
}

// The pixels of a width x height area, 32 bits each, drawn by draw into a memory bitmap.
template <class Draw>
std::vector<uint32_t> Pixels(int width, int height, Draw draw) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(/*hWnd=*/nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, /*hSection=*/nullptr,
                                    /*offset=*/0);
  if (memory == nullptr || bitmap == nullptr) {
    Fail(L"cannot make a bitmap to compare icons");
  }
  HGDIOBJ old = SelectObject(memory, bitmap);
  draw(memory, screen);
  GdiFlush();
  const auto* first = static_cast<const uint32_t*>(bits);
  std::vector<uint32_t> pixels(first, first + static_cast<size_t>(width) * height);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(/*hWnd=*/nullptr, screen);
  return pixels;
}

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId() && IsWindowVisible(window) && ClassOf(window) == L"#32770" &&
      GetDlgItem(window, kBoxTextId) != nullptr) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

void Fail(const std::wstring& why) {
  const std::string line = "FAIL: " + Utf8(why) + "\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
  ExitProcess(/*uExitCode=*/2);
}

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, /*dwFlags=*/0, text.data(),
                                       static_cast<int>(text.size()), /*lpMultiByteStr=*/nullptr,
                                       /*cbMultiByte=*/0, /*lpDefaultChar=*/nullptr,
                                       /*lpUsedDefaultChar=*/nullptr);
  std::string out(size, '\0');
  WideCharToMultiByte(CP_UTF8, /*dwFlags=*/0, text.data(), static_cast<int>(text.size()),
                      out.data(), size, /*lpDefaultChar=*/nullptr, /*lpUsedDefaultChar=*/nullptr);
  return out;
}

HWND WaitFor(const wchar_t* what, const std::function<HWND()>& found) {
  const DWORD start = GetTickCount();
  do {
    if (HWND window = found()) {
      return window;
    }
    Sleep(kPollMs);
  } while (GetTickCount() - start < kWaitMs);
  Fail(std::wstring(L"timed out waiting for ") + what);
}

void WaitUntil(const wchar_t* what, const std::function<bool()>& done) {
  WaitFor(what, [&]() -> HWND { return done() ? GetDesktopWindow() : nullptr; });
}

HWND MainWindow() {
  HWND window = FindWindowW(/*lpClassName=*/nullptr, kCaption);
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

HWND MessageBoxWindow() {
  HWND found = nullptr;
  EnumWindows(FindBox, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND Pane(HWND main, int number) {
  const std::wstring name = number == 1 ? L"txtMessage" : L"txtMessage2";
  for (const Control& control : kControls) {
    if (name == control.name) {
      if (HWND pane = GetDlgItem(main, control.id)) {
        return pane;
      }
    }
  }
  Fail(L"the main window has no " + name);
}

std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, /*wParam=*/0, /*lParam=*/0, SMTO_ABORTIFHUNG,
                           kWaitMs, &length)) {
    Fail(L"a window did not answer WM_GETTEXTLENGTH");
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, kWaitMs, &copied)) {
    Fail(L"a window did not answer WM_GETTEXT");
  }
  text.resize(copied);
  return text;
}

RECT ClientRectOf(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(/*hWndFrom=*/nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT ScreenRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

bool IsCentred(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& area = monitor.rcWork;
  // Halving an odd difference may put the window one pixel either way.
  const auto within1 = [](LONG a, LONG b) { return std::abs(a - b) <= 1; };
  return within1(rect.left - area.left, area.right - rect.right) &&
         within1(rect.top - area.top, area.bottom - rect.bottom);
}

std::wstring FocusedControlName(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, /*lpdwProcessId=*/nullptr), &info) ||
      info.hwndFocus == nullptr) {
    return L"none";
  }
  const int id = GetDlgCtrlID(info.hwndFocus);
  for (const Control& control : kControls) {
    if (control.id == id && GetParent(info.hwndFocus) == window) {
      return control.name;
    }
  }
  return L"another window";
}

BoxButtons ButtonsOf(HWND box) {
  BoxButtons buttons;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == L"Button" && IsWindowVisible(child)) {
      const std::wstring name = Unmnemonic(TextOf(child));
      buttons.names.push_back(name);
      // The default button is the one drawn as default, which is what Enter presses.
      if ((GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        buttons.defaultName = name;
      }
    }
  }
  return buttons;
}

HWND ButtonNamed(HWND box, const std::wstring& name) {
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == L"Button" && IsWindowVisible(child) &&
        Unmnemonic(TextOf(child)) == name) {
      return child;
    }
  }
  Fail(L"the message box has no " + name + L" button");
}

void Click(HWND button) {
  if (button == nullptr || !IsWindowEnabled(button)) {
    Fail(L"the button to click is missing or disabled");
  }
  PostMessageW(button, BM_CLICK, /*wParam=*/0, /*lParam=*/0);
}

std::wstring IconName(HWND box) {
  HWND icon = GetDlgItem(box, kBoxIconId);
  if (icon == nullptr || !IsWindowVisible(icon)) {
    return L"none";
  }
  // The icon's handle belongs to the other process, so the icon is told apart by its pixels on
  // screen, against each system icon drawn here on the same background.
  RECT client{};
  GetClientRect(icon, &client);
  POINT origin{0, 0};
  ClientToScreen(icon, &origin);
  const int width = client.right;
  const int height = client.bottom;
  const struct {
    LPCWSTR id;
    const wchar_t* name;
  } candidates[] = {{IDI_HAND, L"stop"},
                    {IDI_EXCLAMATION, L"exclamation"},
                    {IDI_ASTERISK, L"information"},
                    {IDI_QUESTION, L"question"}};
  // The box may not have painted yet: look again until it matches, within the usual bound.
  const DWORD start = GetTickCount();
  do {
    const auto shown = Pixels(width, height, [&](HDC memory, HDC screen) {
      BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    });
    for (const auto& candidate : candidates) {
      const auto drawn = Pixels(width, height, [&](HDC memory, HDC) {
        const COLORREF background =
            RGB((shown[0] >> 16) & 0xFF, (shown[0] >> 8) & 0xFF, shown[0] & 0xFF);
        HBRUSH brush = CreateSolidBrush(background);
        const RECT all{0, 0, width, height};
        FillRect(memory, &all, brush);
        DeleteObject(brush);
        DrawIconEx(memory, 0, 0, LoadIconW(/*hInstance=*/nullptr, candidate.id), width, height,
                   /*istepIfAniCur=*/0, /*hbrFlickerFreeDraw=*/nullptr, DI_NORMAL);
      });
      if (drawn == shown) {
        return candidate.name;
      }
    }
    Sleep(kPollMs * 10);
  } while (GetTickCount() - start < kIconPaintMs);
  return L"unknown";
}

}  // namespace docrecover::e2e
