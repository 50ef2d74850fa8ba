#pragma once

// Reroutes this program's own calls of a system function through its import table. Calls that
// the system makes itself are not rerouted, nor are calls from other modules.

#include <cstdint>

namespace docrecover::bench {

// Points the program's import of the function `name` at replacement and returns what it pointed
// at before; throws PlatformError when the program does not import the function by that name.
std::uintptr_t PatchImport(const char* name, std::uintptr_t replacement);

// The same for a function pointer: returns the function that was called until now.
template <class Function>
Function PatchImport(const char* name, Function replacement) {
  return reinterpret_cast<Function>(
      PatchImport(name, reinterpret_cast<std::uintptr_t>(replacement)));
}

}  // namespace docrecover::bench
