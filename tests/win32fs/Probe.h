#pragma once

// What the process tests and the probe program they start agree on.

namespace docrecover::testing {

// The probe writes ProgramFolder() to its standard output as UTF-16, then ends through
// EndProgramNow with this code.
inline constexpr unsigned kProbeExitCode = 42;

}  // namespace docrecover::testing
