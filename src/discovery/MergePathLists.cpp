#include "discovery/MergePathLists.h"

namespace docrecover {

StringList MergePathLists(const StringList& first, const StringList& second) {
  StringList merged;
  merged.reserve(first.size() + second.size());
  merged.insert(merged.end(), first.begin(), first.end());
  merged.insert(merged.end(), second.begin(), second.end());
  return merged;
}

}  // namespace docrecover
