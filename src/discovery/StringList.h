#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace docrecover {

// The program's string list: zero-based, grown only by appending at its end. A list "without
// storage" is simply empty.
using StringList = std::vector<std::wstring>;

// The number of entries; 0 for an empty list.
int32_t ArrayCount(const StringList& list) noexcept;

}  // namespace docrecover
