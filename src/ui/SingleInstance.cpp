#include "ui/SingleInstance.h"

#include <aclapi.h>
#include <sddl.h>

#include <iterator>
#include <utility>

#include "app/Texts.h"
#include "platform/win32/Win32Error.h"
#include "ui/Win32Api.h"
#include "ui/Win32MainWindow.h"

namespace docrecover::ui {

namespace {

// Named mutexes in the global namespace. What they guard is the machine's, not a session's: the
// installations under Program Files and the temporary names in them are the same for every user,
// and a second user (fast user switching, a remote session) would meet the first copy's files. A
// mutex needs no privilege there (only a file mapping does), so anyone may hold a name first: a
// few more names leave a squatter of one name without effect. The first is the name earlier
// versions used, so that they and this one still meet.
constexpr const wchar_t* kGlobalNames[] = {
    L"Global\\DocRecover.ZEMO-On-CD-Update", L"Global\\DocRecover.ZEMO-On-CD-Update.2",
    L"Global\\DocRecover.ZEMO-On-CD-Update.3", L"Global\\DocRecover.ZEMO-On-CD-Update.4"};

// The private namespace, and the mutex's name in it.
constexpr wchar_t kNamespace[] = L"DocRecover.ZEMO-On-CD";
constexpr wchar_t kPrivateName[] = L"DocRecover.ZEMO-On-CD\\Update";

// Owned by the Administrators group, and open to it and to the system alone. An explicit owner,
// because a default one is the creator's token's choice (Wine gives none at all).
constexpr wchar_t kOurSecurity[] = L"O:BAD:(A;;GA;;;BA)(A;;GA;;;SY)";

UniqueLocal OurSecurity() {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
          kOurSecurity, SDDL_REVISION_1, &descriptor, /*SecurityDescriptorSize=*/nullptr)) {
    throw win32::LastError(L"ConvertStringSecurityDescriptorToSecurityDescriptorW");
  }
  return UniqueLocal(descriptor);
}

// Whether a mutex under one of our names is a copy of ours: its owner is one only an elevated
// administrator or the system may name. No owner, or one we cannot read, is not ours.
bool HeldByOurs(HANDLE mutex) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(mutex, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                      /*ppsidGroup=*/nullptr, /*ppDacl=*/nullptr, /*ppSacl=*/nullptr,
                      &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  const UniqueLocal release(descriptor);
  return owner != nullptr && (IsWellKnownSid(owner, WinBuiltinAdministratorsSid) ||
                              IsWellKnownSid(owner, WinLocalSystemSid));
}

// A private namespace bounded by the Administrators group: only a process holding that group may
// make it, so no other account can squat it. Its security keeps out the processes outside the
// boundary, which could open it otherwise. Left open for the process's life: once its creator
// closes it, no later copy can open it. Wine makes no boundary descriptor, and then there is none.
bool HavePrivateNamespace() {
  HANDLE boundary = CreateBoundaryDescriptorW(kNamespace, /*Flags=*/0);
  if (boundary == nullptr) {
    return false;
  }
  BYTE administrators[SECURITY_MAX_SID_SIZE] = {};
  DWORD size = sizeof administrators;
  HANDLE space = nullptr;
  if (CreateWellKnownSid(WinBuiltinAdministratorsSid, /*DomainSid=*/nullptr, administrators,
                         &size) &&
      AddSIDToBoundaryDescriptor(&boundary, administrators)) {
    const UniqueLocal security = OurSecurity();
    SECURITY_ATTRIBUTES attributes{sizeof attributes, security.get(), /*bInheritHandle=*/FALSE};
    space = CreatePrivateNamespaceW(&attributes, boundary, kNamespace);
    if (space == nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
      space = OpenPrivateNamespaceW(boundary, kNamespace);
    }
  }
  DeleteBoundaryDescriptor(boundary);
  return space != nullptr;
}

}  // namespace

std::vector<std::wstring> InstanceNames() {
  std::vector<std::wstring> names(std::begin(kGlobalNames), std::end(kGlobalNames));
  if (HavePrivateNamespace()) {
    names.insert(names.begin(), kPrivateName);
  }
  return names;
}

std::optional<InstanceClaim> ClaimNames(const std::vector<std::wstring>& names) {
  const UniqueLocal security = OurSecurity();
  SECURITY_ATTRIBUTES attributes{sizeof attributes, security.get(), /*bInheritHandle=*/FALSE};
  InstanceClaim claim;
  for (const std::wstring& name : names) {
    UniqueKernelHandle mutex(CreateMutexW(&attributes, /*bInitialOwner=*/FALSE, name.c_str()));
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    // A name we cannot open (its holder's security refuses us, or another kind of object has it)
    // is not a copy of ours, whatever the error: a holder must never stop the program.
    if (mutex && !existed) {
      claim.push_back(std::move(mutex));
    } else if (mutex && HeldByOurs(mutex.get())) {
      return std::nullopt;
    }
  }
  // A claim of no name at all (every one held by another) still runs: stopping would hand any
  // account the power to stop the updater, and two copies could then run together only if the
  // user also started two at once while the squatter held every name.
  return claim;
}

std::optional<InstanceClaim> ClaimSingleInstance() {
  return ClaimNames(InstanceNames());
}

void StepAside(std::chrono::milliseconds wait) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    const HWND window = FindWindowW(Win32MainWindow::kClassName, /*lpWindowName=*/nullptr);
    if (window != nullptr) {
      // The box the running copy shows is owned by its window, and is what the user must answer.
      SetForegroundWindow(GetLastActivePopup(window));
      return;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      break;
    }
    Sleep(/*dwMilliseconds=*/100);
  }
  // The copy ends after the box whatever it answers: a box that cannot be shown leaves nothing
  // else to tell.
  MessageBoxW(/*hWnd=*/nullptr, texts::AlreadyRunningBox().c_str(), texts::kMsgTitle,
              MB_ICONINFORMATION | MB_OK);
}

}  // namespace docrecover::ui
