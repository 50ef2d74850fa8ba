// The real main window under Wine: where its controls lie and how they look, what its panes draw,
// the boxes it owns, the ways to cancel, and the keyboard; and the claim to run alone.

#include <gtest/gtest.h>

#include <aclapi.h>
#include <sddl.h>

#include <chrono>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/Texts.h"
#include "ui/Layout.h"
#include "ui/SingleInstance.h"
#include "ui/Win32Desktop.h"
#include "ui/Win32MainWindow.h"

namespace docrecover::ui {
namespace {

constexpr COLORREF kCream = RGB(255, 255, 208);
constexpr COLORREF kBrown = RGB(128, 64, 0);

LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

// What a control shows: how many runs of pixel rows hold anything but cream (the lines of text),
// and whether a given colour is drawn at all.
struct Ink {
  int lines = 0;
  bool hasColour = false;
};

Ink InkOf(HWND control, COLORREF colour = kCream) {
  RECT client{};
  GetClientRect(control, &client);
  const HDC dc = GetDC(control);
  Ink ink;
  for (int y = 0, inked = -2; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) {
      const COLORREF pixel = GetPixel(dc, x, y);
      ink.hasColour |= pixel == colour;
      if (pixel != kCream && inked != y) {
        ink.lines += inked != y - 1;
        inked = y;
      }
    }
  }
  ReleaseDC(control, dc);
  return ink;
}

// Called with the next window this thread activates, a message box; it must answer the box.
std::function<void(HWND box)> onBox;

LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && onBox) {
    std::exchange(onBox, nullptr)(reinterpret_cast<HWND>(wParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.SetCancelHandler([this] { ++cancels_; });
    window_.Show();
    window_.Flush();
  }
  HWND Main() const { return window_.Handle(); }
  HWND Control(int id) const { return GetDlgItem(Main(), id); }

  Win32MainWindow window_;
  int cancels_ = 0;
};

TEST_F(MainWindowTest, ControlsLieOnTheirPixelsAtEitherDensityInTheirColours) {
  const auto style = static_cast<DWORD>(GetWindowLongW(Main(), GWL_STYLE));
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
            static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
  EXPECT_NE(GetWindow(Main(), GW_OWNER), nullptr) << "an owned window has no task-bar button";
  window_.ShowMessage(L"Searching");
  window_.ShowMessage2(L"C:\\ZEMO.exe");
  window_.Flush();
  // Without DCX_USESTYLE the DC ignores WS_CLIPCHILDREN and so sees the controls too.
  const HDC dc = GetDCEx(Main(), nullptr, DCX_CACHE);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  for (int y = 0; y < 300; ++y) {  // down a column right of the panes
    EXPECT_EQ(GetPixel(dc, 320, y), y == 47 || y == 257 || y >= 260 ? face
                                    : y == 258                      ? RGB(128, 128, 128)
                                    : y == 259                      ? RGB(255, 255, 255)
                                                                    : kCream)
        << y;
  }
  // The banner, unscaled from the picture's corner (8, 4): light paper, and its dark frame on top.
  EXPECT_GE(GetBValue(GetPixel(dc, 8 + 12, 4 + 20)), 224);
  EXPECT_LT(GetGValue(GetPixel(dc, 8 + 77, 4 + 1)), 160);
  ReleaseDC(Main(), dc);

  // Client pixels at 96 and at 120 dpi (edges at half pixels round up), then at 96 dpi the text
  // and a colour drawn. Id 0 is the client area; the fonts' faces and weights are the font test's.
  const std::tuple<int, RECT, RECT, std::wstring, COLORREF> kControls[] = {
      {0, {0, 0, 324, 300}, {0, 0, 405, 375}, L"", 0},
      {kHeaderBandId, {0, 0, 325, 47}, {0, 0, 406, 59}, L"", kCream},
      {kPictureId, {8, 4, 171, 47}, {10, 5, 214, 59}, L"", kCream},
      {kSubTitleId, {178, 10, 313, 27}, {223, 13, 391, 34}, L"ZEMO On CD", kBrown},
      {kVersionId, {176, 26, 313, 43}, {220, 33, 391, 54}, L"Version 1.50 Update", kBrown},
      {kMessageBandId, {0, 48, 325, 161}, {0, 60, 406, 201}, L"", kCream},
      {kMessageId, {8, 54, 315, 139}, {10, 68, 394, 174}, L"Searching", kBrown},
      {kMessage2BandId, {0, 160, 325, 257}, {0, 200, 406, 321}, L"", kCream},
      {kMessage2Id, {8, 176, 315, 239}, {10, 220, 394, 299}, L"C:\\ZEMO.exe", RGB(64, 64, 64)},
      {kCancelId, {234, 268, 315, 293}, {293, 335, 394, 366}, L"Cancel", RGB(0, 0, 0)},
  };
  for (const int dpi : {96, 120}) {
    if (dpi == 120) {
      RECT suggested{0, 0, 405, 375};
      AdjustWindowRectEx(&suggested, style, FALSE, GetWindowLongW(Main(), GWL_EXSTYLE));
      SendMessageW(Main(), 0x02E0 /*WM_DPICHANGED*/, MAKEWPARAM(dpi, dpi),
                   reinterpret_cast<LPARAM>(&suggested));
    }
    for (const auto& [id, at96, at120, text, colour] : kControls) {
      RECT actual{};
      GetClientRect(Main(), &actual);
      if (id != 0) {
        GetWindowRect(Control(id), &actual);
        MapWindowPoints(nullptr, Main(), reinterpret_cast<POINT*>(&actual), 2);
      }
      EXPECT_TRUE(EqualRect(&actual, dpi == 96 ? &at96 : &at120)) << id << " at " << dpi << " dpi";
      if (dpi == 96 && id != 0) {
        wchar_t shown[64] = {};
        GetWindowTextW(Control(id), shown, 64);
        EXPECT_EQ(shown, text);
        EXPECT_TRUE(InkOf(Control(id), colour).hasColour) << id << " draws in its colour";
      }
    }
    const LOGFONTW font = FontOf(Control(kMessageId));
    EXPECT_EQ(std::wstring(font.lfFaceName) + L" " + std::to_wstring(font.lfHeight) + L" " +
                  std::to_wstring(font.lfCharSet),
              dpi == 96 ? L"Microsoft Sans Serif -11 1" : L"Microsoft Sans Serif -14 1");
  }
}

// The fonts at the screen's density: ctest runs the case at 144 dpi in a prefix whose screen has
// it. The panes show paths in any script: a TrueType face with the default character set, which
// font linking completes. The fixed texts keep the bitmap face only at 96 dpi.
class MainWindowFontTest : public MainWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(MainWindowFontTest, PanesHaveATrueTypeFaceForAnyScriptAndBitmapFaceOnlyAt96Dpi) {
  ASSERT_EQ(GetDeviceCaps(ScreenDc().Get(), LOGPIXELSY), GetParam()) << "the prefix's screen";
  std::wstring fonts;
  for (const int id : {kMessageId, kMessage2Id, kSubTitleId, kVersionId, kCancelId}) {
    const LOGFONTW font = FontOf(Control(id));
    fonts += std::wstring(font.lfFaceName) + L" " + std::to_wstring(font.lfHeight) + L" " +
             std::to_wstring(font.lfWeight) + L" " + std::to_wstring(font.lfCharSet) + L"\n";
  }
  // Face, height (8.25 points), weight, and character set (1 the default, 0 ANSI) of the panes,
  // the subtitle, the version line and Cancel.
  const std::wstring pane =
      GetParam() == 96 ? L"Microsoft Sans Serif -11" : L"Microsoft Sans Serif -17";
  const std::wstring fixed = GetParam() == 96 ? L"MS Sans Serif -11" : pane;
  EXPECT_EQ(fonts, pane + L" 400 1\n" + pane + L" 400 1\n" + fixed + L" 700 0\n" + fixed +
                       L" 400 0\n" + fixed + L" 400 0\n");
}

INSTANTIATE_TEST_SUITE_P(Dpi, MainWindowFontTest, ::testing::Values(96, 144),
                         ::testing::PrintToStringParamName());

TEST_F(MainWindowTest, PanesBreakWrapAndCutOffTextsAndAreCurrentWhenABoxOfTheirStyleOpens) {
  // Each text and the fewest and most lines it may take; then a box: its style and icon, the
  // button pressed and the answer.
  const std::tuple<std::wstring, int, int, int32_t, LPCWSTR, WPARAM, int32_t> kRows[] = {
      {L"", 0, 0, 64, IDI_ASTERISK, IDOK, 1},
      {L"Top line", 1, 1, 68, IDI_ASTERISK, IDYES, 6},
      {L"Top\r\nline", 2, 2, 68, IDI_ASTERISK, IDNO, 7},
      {L"Top\r\n\r\nline", 2, 2, 48, IDI_EXCLAMATION, IDOK, 1},
      {std::wstring(100, L'T'), 2, 9, 16, IDI_HAND, IDOK, 1},
      {std::wstring(3000, L'T'), 3, 7, 64, IDI_ASTERISK, IDOK, 1},
  };
  Win32Desktop desktop(window_);
  const HHOOK hook = SetWindowsHookExW(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId());
  for (const auto& [text, fewest, most, style, icon, press, answer] : kRows) {
    const auto expectLines = [&, fewest = fewest, most = most](int id) {
      const int lines = InkOf(Control(id)).lines;
      EXPECT_TRUE(lines >= fewest && lines <= most) << id << ": " << lines;
    };
    // The main pane is repainted at once; the secondary one, written within a frame of the last
    // flush, as the box opens.
    window_.ShowMessage(text);
    expectLines(kMessageId);
    window_.Flush();
    window_.ShowMessage2(text);
    onBox = [&](HWND box) {
      expectLines(kMessage2Id);
      EXPECT_EQ(GetWindow(box, GW_OWNER), Main());
      EXPECT_EQ(SendDlgItemMessageW(box, 0x0440, STM_GETICON, 0, 0),
                reinterpret_cast<LRESULT>(LoadIconW(nullptr, icon)));
      // Wine leaves out the buttons a style does not ask for.
      EXPECT_TRUE(GetDlgItem(box, press) && !GetDlgItem(box, IDOK) == (press != IDOK)) << style;
      PostMessageW(box, WM_COMMAND, press, 0);
    };
    EXPECT_EQ(desktop.ShowMessageBox(L"text", style, L"title"), answer);
    EXPECT_EQ(GetFocus(), Control(kCancelId)) << "back from a box, Cancel has the keyboard";
  }
  UnhookWindowsHookEx(hook);
}

TEST_F(MainWindowTest, ClickEscapeAndCloseBoxCancelOnlyWhileEnabledAndTabNeverLeavesCancel) {
  // To the button (1) or the window (0), and the cancels it makes while Cancel is enabled.
  const int kRequests[][4] = {{1, BM_CLICK, 0, 1},           {1, WM_KEYDOWN, VK_ESCAPE, 1},
                              {0, WM_KEYDOWN, VK_ESCAPE, 1}, {0, WM_SYSCOMMAND, SC_CLOSE, 1},
                              {0, WM_CLOSE, 0, 1},           {1, WM_KEYDOWN, VK_TAB, 0}};
  for (const bool enabled : {true, false}) {
    for (const auto& [toButton, message, wParam, cancels] : kRequests) {
      cancels_ = 0;
      PostMessageW(toButton ? Control(kCancelId) : Main(), message, wParam, 0);
      // Kept alive as a long copy's progress does it, the window repaints and pumps as the pacer
      // allows (Wine never reports a copy's progress); the deadline only guards against a hang.
      const std::wstring path = L"C:\\file" + std::to_wstring(message + wParam + toButton);
      window_.ShowMessage2(path);
      wchar_t shown[16] = {};
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (enabled && (cancels_ < cancels || path != shown) &&
             std::chrono::steady_clock::now() < deadline) {
        window_.KeepAlive();
        InternalGetWindowText(Control(kMessage2Id), shown, 16);
      }
      EXPECT_EQ(cancels_, enabled ? cancels : 0) << "delivered during the burst";
      EXPECT_TRUE(!enabled || path == shown) << "repainted during the burst";
      window_.ShowMessage(L"pumped");
      EXPECT_EQ(cancels_, enabled ? cancels : 0) << message << " " << wParam;
      EXPECT_TRUE(!enabled || GetFocus() == Control(kCancelId)) << "focus stays on Cancel";
    }
    window_.DisableCancel();
  }
}

// Logoff is held off from DisableCancel, just before the copy, until the next box, the run's last.
TEST_F(MainWindowTest, LogoffIsHeldOffOnlyFromDisableCancelToTheNextBox) {
  std::vector<LRESULT> answers;
  const auto answer = [&] { answers.push_back(SendMessageW(Main(), WM_QUERYENDSESSION, 0, 0)); };
  answer();
  window_.DisableCancel();
  window_.ShowMessage2(L"Manual.txt");
  answer();
  const HHOOK hook = SetWindowsHookExW(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId());
  onBox = [&](HWND box) {
    answer();
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  };
  Win32Desktop(window_).ShowMessageBox(L"text", 64, L"title");
  UnhookWindowsHookEx(hook);
  answer();
  EXPECT_EQ(answers, (std::vector<LRESULT>{TRUE, FALSE, TRUE, TRUE}));
}

// A second copy that finds no window of the first on its desktop looks for it for the whole wait,
// then says in one box that the updater already runs.
TEST(StepAsideTest, WithoutTheWindowASecondCopySaysInABoxThatOneRuns) {
  const HHOOK hook = SetWindowsHookExW(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId());
  wchar_t title[64] = {}, text[256] = {};
  onBox = [&](HWND box) {
    GetWindowTextW(box, title, 64);
    GetDlgItemTextW(box, 0xFFFF, text, 256);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  };
  const auto start = std::chrono::steady_clock::now();
  StepAside(std::chrono::milliseconds(300));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(std::wstring(title) + L": " + text,
            std::wstring(texts::kMsgTitle) + L": " + texts::AlreadyRunningBox());
}

// The claim to run alone: what each kind of holder of its names leaves it, what its own mutexes
// look like, and that two claims of ours never both stand.
TEST(SingleInstanceTest, HoldersOfOtherAccountsNeitherStopTheClaimNorLetTwoClaimsStand) {
  const std::vector<std::wstring> names = InstanceNames();
  const int all = static_cast<int>(names.size());
  ASSERT_GT(all, 1) << "a squatted name must leave others to claim";
  // A holder's security ("": none given, no owner under Wine), how many names it holds from the
  // first, and how many the claim then takes (-1: none, a copy of ours runs).
  const std::tuple<const wchar_t*, int, int> kHolders[] = {
      {L"", 0, all},
      {L"O:BAD:(A;;GA;;;WD)", 1, -1},       // made by an administrator
      {L"O:SYD:(A;;GA;;;WD)", 1, -1},       // made by the system
      {L"O:BUD:(A;;GA;;;WD)", 1, all - 1},  // another owner
      {L"", 1, all - 1},
      {L"O:BUD:", 1, all - 1},  // a DACL that denies everyone
      {L"O:BUD:", all, 0},      // every name squatted: the program still runs
  };
  for (const auto& [security, held, taken] : kHolders) {
    std::vector<UniqueKernelHandle> holders;
    for (int at = 0; at < held; ++at) {
      PSECURITY_DESCRIPTOR descriptor = nullptr;
      ConvertStringSecurityDescriptorToSecurityDescriptorW(security, 1, &descriptor, nullptr);
      const UniqueLocal release(descriptor);
      SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
      holders.emplace_back(CreateMutexW(&attributes, FALSE, names[at].c_str()));
    }
    const auto claim = ClaimNames(names);
    EXPECT_EQ(claim ? static_cast<int>(claim->size()) : -1, taken) << security << held;
    // A second copy meets the first on a name, unless the first took none.
    EXPECT_EQ(claim && ClaimNames(names), taken == 0) << security << held;
  }
  // Ours: owned by the Administrators, open to them and the system alone. Wine keeps the generic
  // right as given; Windows would show the mutex's own, 0x1f0001.
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  LPWSTR text = nullptr;
  const auto flags = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
  GetSecurityInfo(ClaimNames(names)->front().get(), SE_KERNEL_OBJECT, flags, nullptr, nullptr,
                  nullptr, nullptr, &descriptor);
  ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, 1, flags, &text, nullptr);
  const UniqueLocal release(descriptor), releaseText(text);
  EXPECT_STREQ(text, L"O:BAD:(A;;GA;;;BA)(A;;GA;;;SY)");
}

}  // namespace
}  // namespace docrecover::ui
