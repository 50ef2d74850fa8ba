// The main window's messages and repaints during long work, paced by the pacer's budget.

#include <utility>

#include "ui/Win32MainWindow.h"

// After the window's header: it needs the Windows types.
#include <versionhelpers.h>

namespace docrecover::ui {

namespace {

// What the pump between repaints takes. Input, and posted messages: a click made by assistive
// technology or automation arrives as a posted BM_CLICK. Sent ones too, which a filtered
// PeekMessageW otherwise holds back until the next unfiltered pump: the logoff question the copy
// answers, a screen reader's WM_GETOBJECT. Touch and pen input exist from Windows 8 on, whose
// headers put them in QS_INPUT; this build declares Windows 7, whose QS_INPUT lacks them and which
// does not know the bits. Windows 8 and later report at least 6.2 even to a program that does not
// declare them.
UINT InputFilter() {
  constexpr UINT kTouchAndPen = 0x0800 | 0x1000;  // QS_TOUCH | QS_POINTER
  static const UINT filter = PM_QS_INPUT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE |
                             (IsWindows8OrGreater() ? kTouchAndPen << 16 : 0);
  return filter;
}

}  // namespace

void Win32MainWindow::ShowMessage(const std::wstring& text) {
  const bool changed = message_->Text() != text;
  message_->SetTextLater(text);
  pacer_.RepaintNow();
  // Announced once the pane has been painted, which stores the text where readers read it.
  if (changed && live_) {
    live_->Announce();
  }
  RethrowPendingFailure();
}

void Win32MainWindow::ShowMessage2(const std::wstring& text) {
  message2_->SetTextLater(text);
  KeepAlive();
}

void Win32MainWindow::KeepAlive() {
  pacer_.Tick();
  RethrowPendingFailure();
}

void Win32MainWindow::Pause(int32_t milliseconds) {
  const PaceDuration deadline = clock_.Now() + std::chrono::milliseconds(milliseconds);
  Flush();
  for (PaceDuration now = clock_.Now(); now < deadline; now = clock_.Now()) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
    // Wakes for any input, so the window answers while the time runs out.
    MsgWaitForMultipleObjectsEx(/*nCount=*/0, /*pHandles=*/nullptr,
                                static_cast<DWORD>(left.count()), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    Flush();
  }
}

void Win32MainWindow::Flush() {
  pacer_.RepaintNow();
#ifdef DOCRECOVER_BENCH_EXTRA_REPAINT_MS
  PublishPacing(true);
#endif
  RethrowPendingFailure();
}

void Win32MainWindow::Repaint() {
  if (Handle() == nullptr) {
    return;
  }
  message_->Present();
  message2_->Present();
  RedrawWindow(Handle(), /*lprcUpdate=*/nullptr, /*hrgnUpdate=*/nullptr,
               RDW_UPDATENOW | RDW_ALLCHILDREN);
#ifdef DOCRECOVER_BENCH_EXTRA_REPAINT_MS
  // A slower machine's repaint, spent on this core: sleeping would hand the core to the X server.
  const auto until = std::chrono::steady_clock::now() +
                     std::chrono::milliseconds(DOCRECOVER_BENCH_EXTRA_REPAINT_MS);
  while (std::chrono::steady_clock::now() < until) {
  }
#endif
  Pump(/*filter=*/0);
}

void Win32MainWindow::PumpInput() {
  // Painting nothing: the panes wait for their next repaint.
  Pump(InputFilter());
}

void Win32MainWindow::Pump(UINT filter) {
  MSG message;
  while (PeekMessageW(&message, /*hWnd=*/nullptr, /*wMsgFilterMin=*/0, /*wMsgFilterMax=*/0,
                      PM_REMOVE | filter)) {
    // The dialog manager gives the keyboard its dialog meaning: Tab, Space, Escape as Cancel.
    if (Handle() != nullptr && IsDialogMessageW(Handle(), &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32MainWindow::RethrowPendingFailure() {
  if (pendingFailure_) {
    std::rethrow_exception(std::exchange(pendingFailure_, nullptr));
  }
}

#ifdef DOCRECOVER_BENCH_EXTRA_REPAINT_MS
void Win32MainWindow::PublishPacing(bool publish) {
  const std::pair<const wchar_t*, int64_t> kFigures[] = {
      {L"DocRecover.WindowMicroseconds", pacer_.Spent().count() / 1000},
      {L"DocRecover.RepaintMicroseconds", pacer_.RepaintTime().count() / 1000},
      {L"DocRecover.Repaints", pacer_.Repaints()},
  };
  for (const auto& [name, value] : kFigures) {
    if (publish) {
      SetPropW(Handle(), name, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(value)));
    } else {
      RemovePropW(Handle(), name);
    }
  }
}
#endif

}  // namespace docrecover::ui
