// The window at work: pane texts under bursts of writes, what is on screen when a box opens,
// Cancel by click, Escape and close box, the tab order, and the window after it is unloaded.

#include "WindowFixture.h"
#include "ui/Win32Desktop.h"

#include <commctrl.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace docrecover::ui {
namespace {

// Notes the text a pane holds each time it paints, which is the text it draws.
class PaintRecorder {
 public:
  explicit PaintRecorder(HWND pane) : pane_(pane) {
    SetWindowSubclass(pane_, Proc, /*uIdSubclass=*/1, reinterpret_cast<DWORD_PTR>(this));
  }
  ~PaintRecorder() { RemoveWindowSubclass(pane_, Proc, /*uIdSubclass=*/1); }

  std::wstring painted;         // the text of the last paint
  std::wstring paintedAtClose;  // the text of the last paint before the pane was destroyed
  int paints = 0;

 private:
  static LRESULT CALLBACK Proc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam,
                               UINT_PTR /*id*/, DWORD_PTR data) {
    auto* self = reinterpret_cast<PaintRecorder*>(data);
    if (message == WM_PAINT) {
      self->painted = TextOf(pane);
      ++self->paints;
    } else if (message == WM_DESTROY) {
      self->paintedAtClose = self->painted;
    }
    return DefSubclassProc(pane, message, wParam, lParam);
  }

  HWND pane_;
};

// Answers the next message box of this thread as it opens, after letting a check look at it.
class BoxAnswerer {
 public:
  BoxAnswerer(WPARAM answer, std::function<void(HWND box)> onOpen)
      : answer_(answer), onOpen_(std::move(onOpen)) {
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, Proc, /*hmod=*/nullptr, GetCurrentThreadId());
  }
  ~BoxAnswerer() {
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }

 private:
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && current_ != nullptr) {
      const auto box = reinterpret_cast<HWND>(wParam);
      wchar_t name[16] = {};
      GetClassNameW(box, name, 16);
      if (std::wstring(name) == L"#32770") {
        current_->onOpen_(box);
        PostMessageW(box, WM_COMMAND, current_->answer_, 0);
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static inline BoxAnswerer* current_ = nullptr;
  WPARAM answer_;
  std::function<void(HWND)> onOpen_;
  HHOOK hook_;
};

using BehaviourTest = WindowFixture;

TEST_F(BehaviourTest, PanesAnswerWithTheLatestTextAfterEveryWrite) {
  const HWND pane2 = Control(kMessage2Id);
  for (int i = 0; i < 2000; ++i) {
    const std::wstring path = L"C:\\Folder " + std::to_wstring(i) + L"\\ZEMO.exe";
    window_.ShowMessage2(path);
    ASSERT_EQ(TextOf(pane2), path);
  }
  const std::wstring texts[] = {L"",
                                L"one",
                                L"same",
                                L"same",
                                L"line 1\r\nline 2\r\n\r\nline 4",
                                std::wstring(5000, L'x'),
                                L"\u00c4rger \u65e5\u672c",
                                L""};
  for (const std::wstring& text : texts) {
    window_.ShowMessage(text);
    EXPECT_EQ(TextOf(Control(kMessageId)), text);
    window_.ShowMessage2(text);
    EXPECT_EQ(TextOf(pane2), text);
  }
  // A short buffer gets the text's start, terminated.
  window_.ShowMessage2(L"abcdef");
  wchar_t buffer[4] = {L'?', L'?', L'?', L'?'};
  EXPECT_EQ(SendMessageW(pane2, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(buffer)), 3);
  EXPECT_EQ(std::wstring(buffer), L"abc");
}

TEST_F(BehaviourTest, ABurstRepaintsAtMostOncePerFrame) {
  PaintRecorder recorder(Control(kMessage2Id));
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 20000; ++i) {
    window_.ShowMessage2(L"file " + std::to_wstring(i));
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  const auto frames = elapsed / Win32MainWindow::kFrame;
  EXPECT_LE(recorder.paints, frames + 2);
  window_.Flush();
  EXPECT_EQ(recorder.painted, L"file 19999");
}

TEST_F(BehaviourTest, TheLastTextIsOnScreenWhenABoxOpens) {
  PaintRecorder recorder(Control(kMessage2Id));
  Win32Desktop desktop(window_);
  const struct {
    int32_t style;
    WPARAM press;
    int32_t answer;
  } boxes[] = {{64, IDOK, 1}, {68, IDYES, 6}, {68, IDNO, 7}, {16, IDOK, 1}};
  int round = 0;
  for (const auto& box : boxes) {
    const std::wstring last = L"last " + std::to_wstring(++round);
    window_.ShowMessage2(L"first");
    window_.ShowMessage2(last);
    std::wstring onScreen;
    HWND boxOwner = nullptr;
    const BoxAnswerer answerer(box.press, [&](HWND opened) {
      onScreen = recorder.painted;
      boxOwner = GetWindow(opened, GW_OWNER);
    });
    EXPECT_EQ(desktop.ShowMessageBox(L"text", box.style, L"title"), box.answer);
    EXPECT_EQ(onScreen, last);
    EXPECT_EQ(boxOwner, Main());
  }
}

TEST_F(BehaviourTest, UnloadPutsTheLastTextOnScreenAndLaterWritesAreHarmless) {
  PaintRecorder recorder(Control(kMessage2Id));
  window_.ShowMessage2(L"first");
  window_.ShowMessage2(L"last");
  window_.Unload();
  EXPECT_EQ(recorder.paintedAtClose, L"last");
  EXPECT_EQ(window_.Handle(), nullptr);
  window_.ShowMessage(L"after");
  window_.ShowMessage2(L"after");
  window_.DisableCancel();
  window_.Show();
  window_.Unload();
  EXPECT_EQ(FindWindowW(nullptr, L"ZEMO On CD v 1.50 Update"), nullptr);
  // With the window gone, a box has no owner.
  Win32Desktop desktop(window_);
  HWND boxOwner = reinterpret_cast<HWND>(1);
  const BoxAnswerer answerer(IDOK, [&](HWND opened) { boxOwner = GetWindow(opened, GW_OWNER); });
  EXPECT_EQ(desktop.ShowMessageBox(L"text", 64, L"title"), 1);
  EXPECT_EQ(boxOwner, nullptr);
}

// The ways a user asks to cancel, each as the message the system would queue.
struct Request {
  const char* what;
  bool toButton;  // posted to cmdCancel, else to the main window
  UINT message;
  WPARAM wParam;
};

const Request kRequests[] = {
    {"click", true, BM_CLICK, 0},
    {"Escape", true, WM_KEYDOWN, VK_ESCAPE},
    {"Escape to the window", false, WM_KEYDOWN, VK_ESCAPE},
    {"close box", false, WM_SYSCOMMAND, SC_CLOSE},
    {"WM_CLOSE", false, WM_CLOSE, 0},
};

TEST_F(BehaviourTest, EveryCancelRequestIsDeliveredWithinOnePumpWhileCancelIsEnabled) {
  for (const Request& request : kRequests) {
    SCOPED_TRACE(request.what);
    cancels_ = 0;
    PostMessageW(request.toButton ? Control(kCancelId) : Main(), request.message, request.wParam,
                 0);
    window_.ShowMessage(L"pumped");
    EXPECT_EQ(cancels_, 1);
    EXPECT_TRUE(IsWindowVisible(Main())) << "a request to close only cancels";
  }
}

TEST_F(BehaviourTest, ACancelClickReachesTheHandlerDuringABurstOfSecondaryWrites) {
  PostMessageW(Control(kCancelId), BM_CLICK, 0, 0);
  // Bounded: the pacing pumps within a frame, the deadline only guards against a hang.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  int writes = 0;
  while (cancels_ == 0 && std::chrono::steady_clock::now() < deadline) {
    window_.ShowMessage2(L"file " + std::to_wstring(++writes));
  }
  EXPECT_EQ(cancels_, 1);
}

TEST_F(BehaviourTest, NoRequestCancelsOnceCancelIsDisabled) {
  window_.DisableCancel();
  EXPECT_FALSE(IsWindowEnabled(Control(kCancelId)));
  const UINT closeState = GetMenuState(GetSystemMenu(Main(), FALSE), SC_CLOSE, MF_BYCOMMAND);
  EXPECT_NE(closeState & MF_GRAYED, 0u) << "the close box is greyed";
  for (const Request& request : kRequests) {
    SCOPED_TRACE(request.what);
    PostMessageW(request.toButton ? Control(kCancelId) : Main(), request.message, request.wParam,
                 0);
    window_.ShowMessage(L"pumped");
  }
  EXPECT_EQ(cancels_, 0);
  EXPECT_TRUE(IsWindowVisible(Main()));
}

TEST_F(BehaviourTest, AFailingCancelHandlerFailsTheNextWriteNotTheWindowProcedure) {
  window_.SetCancelHandler([] { throw std::runtime_error("handler failed"); });
  PostMessageW(Control(kCancelId), BM_CLICK, 0, 0);
  EXPECT_THROW(window_.ShowMessage(L"pumped"), std::runtime_error);
  EXPECT_NO_THROW(window_.ShowMessage(L"again"));
}

TEST_F(BehaviourTest, CancelIsTheOnlyTabStopAndHasTheFocus) {
  const HWND cancel = Control(kCancelId);
  EXPECT_EQ(GetFocus(), cancel);
  EXPECT_EQ(GetNextDlgTabItem(Main(), cancel, /*bPrevious=*/FALSE), cancel);
  EXPECT_EQ(GetNextDlgTabItem(Main(), cancel, /*bPrevious=*/TRUE), cancel);
  PostMessageW(cancel, WM_KEYDOWN, VK_TAB, 0);
  window_.ShowMessage(L"pumped");
  EXPECT_EQ(GetFocus(), cancel);

  // Tab order is z-order: Cancel first, the bands last, behind what they carry.
  std::vector<int> order;
  for (HWND child = GetWindow(Main(), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    order.push_back(GetDlgCtrlID(child));
    const auto style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
    if (child != cancel) {
      EXPECT_EQ(style & (WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | WS_BORDER), 0u);
    }
  }
  EXPECT_EQ(order, (std::vector<int>{kCancelId, kMessageId, kMessage2Id, kMessageBandId, kPictureId,
                                     kSubTitleId, kVersionId, kMessage2BandId, kHeaderBandId}));
}

}  // namespace
}  // namespace docrecover::ui
