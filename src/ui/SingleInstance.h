#pragma once

// One copy at a time. AutoPlay and a double-click, or an impatient second click, start two
// copies; both would search, then copy through the same temporary names, and one would end with
// an error report. The second steps aside instead, before it shows or touches anything.

namespace docrecover::ui {

// Claims the right to run for this process, for as long as it lives. False when another copy
// holds it: the caller ends at once, with status 0.
bool ClaimSingleInstance();

// Brings the running copy's window to the front, or the box it shows over it; nothing when that
// copy has no window yet, or runs in another session.
void BringRunningCopyForward();

}  // namespace docrecover::ui
