#include "discovery/StringList.h"

namespace docrecover {

int32_t ArrayCount(const StringList& list) noexcept {
  return static_cast<int32_t>(list.size());
}

}  // namespace docrecover
