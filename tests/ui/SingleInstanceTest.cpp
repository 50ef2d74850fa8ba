// The claim to run alone, under Wine: what each kind of holder of its names leaves it, what its
// own mutexes look like, and that two claims of ours never both stand.

#include <gtest/gtest.h>

#include <aclapi.h>
#include <sddl.h>

#include <string>
#include <tuple>
#include <vector>

#include "ui/SingleInstance.h"

namespace docrecover::ui {
namespace {

std::wstring SecurityOf(HANDLE object) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                  nullptr, nullptr, nullptr, nullptr, &descriptor);
  const UniqueLocal release(descriptor);
  LPWSTR text = nullptr;
  ConvertSecurityDescriptorToStringSecurityDescriptorW(
      descriptor, SDDL_REVISION_1, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &text,
      nullptr);
  const UniqueLocal releaseText(text);
  return text;
}

TEST(SingleInstanceTest, HoldersOfOtherAccountsNeitherStopTheClaimNorLetTwoClaimsStand) {
  const std::vector<std::wstring> names = InstanceNames();
  const int all = static_cast<int>(names.size());
  // The holder's security (none: no holder; empty: the default), whether it holds every name or
  // the first only, and how many names the claim then takes (-1: none, a copy of ours runs).
  const std::tuple<const wchar_t*, bool, int> kHolders[] = {
      {nullptr, false, all},
      {L"O:BAD:(A;;GA;;;WD)", false, -1},       // made by an administrator
      {L"O:SYD:(A;;GA;;;WD)", false, -1},       // made by the system
      {L"O:BUD:(A;;GA;;;WD)", false, all - 1},  // another owner
      {L"", false, all - 1},                    // no owner at all (Wine's default)
      {L"O:BUD:", false, all - 1},              // a DACL that denies everyone
      {L"O:BAD:", false, all - 1},              // the same, whatever its owner says
      {L"O:BUD:", true, 0},                     // every name squatted: the program still runs
  };
  for (const auto& [security, everyName, taken] : kHolders) {
    std::vector<UniqueKernelHandle> holders;
    for (size_t at = 0; security != nullptr && at < (everyName ? names.size() : 1); ++at) {
      PSECURITY_DESCRIPTOR descriptor = nullptr;
      ConvertStringSecurityDescriptorToSecurityDescriptorW(security, SDDL_REVISION_1, &descriptor,
                                                           nullptr);
      const UniqueLocal release(descriptor);
      SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
      holders.emplace_back(
          CreateMutexW(*security ? &attributes : nullptr, FALSE, names[at].c_str()));
      ASSERT_TRUE(holders.back()) << names[at];
    }
    const auto claim = ClaimNames(names);
    EXPECT_EQ(claim ? static_cast<int>(claim->size()) : -1, taken) << security;
    // A second copy meets the first on a name, unless the first took none.
    EXPECT_EQ(claim && ClaimNames(names), taken == 0) << security;
    if (security == nullptr) {
      // Wine keeps the generic right as given; Windows stores the mutex's own (0x1f0001).
      std::wstring shown = SecurityOf(claim->front().get());
      for (size_t at; (at = shown.find(L"0x1f0001")) != std::wstring::npos;) {
        shown.replace(at, 8, L"GA");
      }
      EXPECT_EQ(shown, L"O:BAD:(A;;GA;;;BA)(A;;GA;;;SY)")
          << "owned by the Administrators, open to them and the system alone";
    }
  }
}

}  // namespace
}  // namespace docrecover::ui
