#pragma once

// frmMain on Win32: the one main window, laid out in twips at its own density.
//
// Controls and their IDs (see Layout.h), in tab order:
//   cmdCancel    2  (IDCANCEL)  "Cancel", class "Button", the only tab stop, focused on Show
//   txtMessage   101            main message pane, brown on cream
//   txtMessage2  102            secondary message pane, dark grey on cream
//   Text1        112            cream band behind txtMessage
//   picMain      105            the banner, unscaled, on cream
//   txtSubTitle  103            "ZEMO On CD", bold, centred
//   Text2        104            "Version 1.50 Update", centred
//   Text3        113            cream band behind txtMessage2
//   Text4        111            cream band behind the header
// The panes answer WM_GETTEXT with their latest text. Escape and the close box act as Cancel
// while Cancel is enabled; once it is disabled the close box is greyed and does nothing.
//
// Paced repainting: ShowMessage2 replaces the pane's text at once, but puts it on screen and
// processes pending events only as the pacer's budget allows (ui/pacing/Pacer.h), pumping input
// alone in between; KeepAlive does the same without a new text, and Pause keeps doing it until its
// time is up. Flush does both at once; ShowMessage, DisableCancel and Unload always flush, and so
// does the desktop before every message box, so the last text written is the one on screen when a
// box appears.
//
// The main pane is a polite live region: each new text ShowMessage puts on screen is announced
// to screen readers. The secondary pane, which changes several times a second, is not.
//
// Logoff is held off while documents are copied: from DisableCancel, which the update sequence
// calls just before the copy, until the next message box (the run's last) or Unload, the window
// answers FALSE to WM_QUERYENDSESSION and gives Windows its reason.

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "platform/Desktop.h"
#include "ui/BaseWindow.h"
#include "ui/Com.h"
#include "ui/GdiObject.h"
#include "ui/LiveRegion.h"
#include "ui/PicturePane.h"
#include "ui/TextPane.h"
#include "ui/pacing/Pacer.h"

namespace docrecover::ui {

class Win32MainWindow final : public MainWindowView,
                              private BaseWindow<Win32MainWindow>,
                              private PacedWindow {
 public:
  static constexpr const wchar_t* kClassName = L"DocRecoverMain";
  static HBRUSH ClassBackground() { return reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1); }

  // Creates the window, hidden, centred on the screen; throws PlatformError on failure.
  Win32MainWindow();
  ~Win32MainWindow() override;

  void Show() override;
  void ShowMessage(const std::wstring& text) override;
  void ShowMessage2(const std::wstring& text) override;
  void KeepAlive() override;
  void Pause(int32_t milliseconds) override;
  void DisableCancel() override;
  void Unload() override;
  void SetCancelHandler(std::function<void()> onCancel) override;

  // Puts the latest pane texts on screen, then processes the pending window events once. A
  // failure of the Cancel handler during the pump passes up from here.
  void Flush();
  // The copy is over: logoff is no longer held off. The desktop calls it before every box.
  void ReleaseLogoff();

  // The window, or null once unloaded; message boxes are owned by it while it is open.
  using BaseWindow::Handle;

 private:
  struct Fonts {
    UniqueFont regular;  // the fixed texts and Cancel
    UniqueFont bold;     // txtSubTitle
    UniqueFont panes;    // txtMessage and txtMessage2
  };

  static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  static constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(int id);
  void OnClose();
  void OnActivate();
  void OnPaint();
  void OnDpiChanged(int dpiX, int dpiY, const RECT& suggested);

  // The window rectangle, centred on the primary screen's work area, whose client area is the
  // layout's at the given density.
  static RECT CentredFrame(int dpiX, int dpiY);
  // Lays out at the density of the monitor the window opened on where it differs from the
  // screen's, as it may under per-monitor awareness.
  void AdoptWindowDpi();
  // The icons, the controls in tab order, their fonts and places.
  void AddControls();
  static Fonts MakeFonts(int dpiY);
  void ApplyFonts();
  void PlaceControls();
  void RequestCancel();
  // Present, repaint and pump without rethrowing, so Unload destroys the window whatever happened.
  void Repaint() override;
  void PumpInput() override;
  // Processes the pending messages the filter lets through (PeekMessageW's flags).
  void Pump(UINT filter);
  void RethrowPendingFailure();
#ifdef DOCRECOVER_BENCH_EXTRA_REPAINT_MS
  // Bench builds only: what the pacer measured, as properties of the window that the bench's
  // timer reads from its process when a box opens; published true, removed false.
  void PublishPacing(bool publish);
#endif

  // COM for the window's whole life: the banner's decoder and the live region need it.
  ComApartment apartment_;
  int dpiX_;
  int dpiY_;
  Fonts fonts_;
  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
  // Hidden, it owns the main window so that the window gets no task-bar button.
  UniqueWindow owner_;
  HWND cancel_ = nullptr;
  std::unique_ptr<TextPane> message_;
  std::unique_ptr<TextPane> message2_;
  std::unique_ptr<TextPane> messageBand_;
  std::unique_ptr<PicturePane> picture_;
  std::unique_ptr<TextPane> subTitle_;
  std::unique_ptr<TextPane> version_;
  std::unique_ptr<TextPane> message2Band_;
  std::unique_ptr<TextPane> headerBand_;
  // Goes before the main pane does.
  std::unique_ptr<LiveRegion> live_;
  std::function<void()> onCancel_;
  // A failure inside the window procedure, which it must not cross; the next Flush rethrows it.
  std::exception_ptr pendingFailure_;
  SteadyPaceClock clock_;
  Pacer pacer_{clock_, *this};
  bool holdingLogoff_ = false;
};

}  // namespace docrecover::ui
