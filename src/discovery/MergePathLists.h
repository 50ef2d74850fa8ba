#pragma once

#include "discovery/StringList.h"

namespace docrecover {

// A new list: the entries of first, then those of second. Nothing is removed, sorted or changed.
StringList MergePathLists(const StringList& first, const StringList& second);

}  // namespace docrecover
