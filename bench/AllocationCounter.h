#pragma once

// Counts the program's heap allocations: a program that calls Allocations() gets an operator new
// that counts each call and otherwise allocates as the standard one does (malloc).

#include <cstdint>

namespace docrecover::bench {

// The number of operator new calls since the program started.
std::int64_t Allocations();

}  // namespace docrecover::bench
