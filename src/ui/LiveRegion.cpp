#include "ui/LiveRegion.h"

namespace docrecover::ui {

namespace {

// {B5F8350B-0548-48B1-A6EE-88BD00B4A5E7} and {6E26E776-04F0-495D-80E4-3330352E3169}: defined here
// rather than taken from liboleacc, so that nothing of that DLL is linked in.
constexpr CLSID kAccPropServicesClass = {
    0xB5F8350B, 0x0548, 0x48B1, {0xA6, 0xEE, 0x88, 0xBD, 0x00, 0xB4, 0xA5, 0xE7}};
constexpr IID kAccPropServicesInterface = {
    0x6E26E776, 0x04F0, 0x495D, {0x80, 0xE4, 0x33, 0x30, 0x35, 0x2E, 0x31, 0x69}};
// Newer than the headers' Windows 7 target; Windows 7 ignores it.
constexpr DWORD kLiveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED
constexpr LONG kPolite = 1;

}  // namespace

LiveRegion::LiveRegion(HWND pane) : pane_(pane) {
  IAccPropServices* services = nullptr;
  // Without the service (Windows without Active Accessibility) the pane stays a plain one, whose
  // text screen readers read when asked; the run has no use for it beyond that.
  if (FAILED(CoCreateInstance(kAccPropServicesClass, /*pUnkOuter=*/nullptr, CLSCTX_INPROC_SERVER,
                              kAccPropServicesInterface, reinterpret_cast<void**>(&services)))) {
    return;
  }
  services_.reset(services);
  VARIANT polite;
  VariantInit(&polite);
  polite.vt = VT_I4;
  polite.lVal = kPolite;
  // Wine answers E_NOTIMPL and older Windows may refuse or ignore it: the pane is then announced
  // as a plain one would be, and nothing is shown.
  services_->SetHwndProp(pane_, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                         kLiveSettingProperty, polite);
}

LiveRegion::~LiveRegion() {
  if (services_) {
    // Nothing is left to do should the service refuse: the pane goes next.
    services_->ClearHwndProps(pane_, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                              &kLiveSettingProperty, /*cProps=*/1);
  }
}

void LiveRegion::Announce() const {
  // Raised whatever SetHwndProp answered: a reader that follows the event without the property
  // still hears the change, and one that does not loses nothing.
  NotifyWinEvent(kLiveRegionChanged, pane_, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace docrecover::ui
