#pragma once

// One copy at a time. AutoPlay and a double-click, or an impatient second click, start two
// copies; both would search, then copy through the same temporary names, and one would end with
// an error report. The second steps aside instead, before it shows or touches anything.
//
// The claim is a set of named mutexes that no other account can take from us. Any account may
// make a name in the global namespace first, so a name held by anything but a copy of ours is
// passed over, never taken for "already running": a copy of ours makes its mutexes owned by the
// Administrators group, which only an elevated administrator or the system may name as owner.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "ui/GdiObject.h"

namespace docrecover::ui {

// The mutexes a claim made; the claim lasts while they are held.
using InstanceClaim = std::vector<UniqueKernelHandle>;

// The names of the claim, in the order every copy walks them. On Windows the first lies in a
// private namespace that only administrators may make or open; Wine makes none, and then the
// global names alone stand.
std::vector<std::wstring> InstanceNames();

// Takes every name of names that nobody holds. Nothing when a copy of ours holds one of them: the
// caller then ends, with status 0. A name another holder has is passed over. Two copies walk the
// same names in the same order, so the later one meets the earlier one's mutex on the first name
// free for both. Throws PlatformError when the mutexes' security cannot be built.
std::optional<InstanceClaim> ClaimNames(const std::vector<std::wstring>& names);

// The claim over InstanceNames(), for the program.
std::optional<InstanceClaim> ClaimSingleInstance();

// How long a second copy looks for the first one's window: the two may have started together,
// the first not yet showing it. Short, since the user sees nothing meanwhile.
inline constexpr std::chrono::milliseconds kWindowWait{2000};

// Another copy runs: brings its window forward, or the box it shows over it, as soon as it is
// found on this desktop. When none is found within wait (that copy runs in another session, or
// has not made its window yet), one box says that the updater is already running.
void StepAside(std::chrono::milliseconds wait = kWindowWait);

}  // namespace docrecover::ui
