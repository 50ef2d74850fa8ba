#pragma once

// A pane that tells assistive technology, politely, when its text changes. Screen readers speak
// the focused control and the title; a change elsewhere is announced only when the window says
// that a live region changed. A plain window becomes one through the accessibility property
// service: its LiveSetting property is set to polite, and each change raises
// EVENT_OBJECT_LIVEREGIONCHANGED. The service comes through COM, which the thread must have
// joined: importing oleacc.dll, not a known DLL, would let the elevated program load a copy
// planted beside it.

#include <oleacc.h>

#include "ui/Com.h"

namespace docrecover::ui {

// LiveSetting_Property_GUID, {C12BCD8E-2A8E-4950-8AE7-3625111D58EB}; the headers lack it. A wrong
// value fails silently, so a test compares it with the documented text.
inline constexpr GUID kLiveSettingProperty = {
    0xC12BCD8E, 0x2A8E, 0x4950, {0x8A, 0xE7, 0x36, 0x25, 0x11, 0x1D, 0x58, 0xEB}};

class LiveRegion {
 public:
  // Marks pane as a polite live region, as far as the system lets it.
  explicit LiveRegion(HWND pane);
  // Clears the mark; must run while the pane still exists.
  ~LiveRegion();
  LiveRegion(const LiveRegion&) = delete;
  LiveRegion& operator=(const LiveRegion&) = delete;

  // Says that the pane's text changed; call it once the new text is stored with the pane.
  void Announce() const;

 private:
  HWND pane_;
  ComOwner<IAccPropServices> services_;
};

}  // namespace docrecover::ui
