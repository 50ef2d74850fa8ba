#pragma once

// Replacing a document so that a failure never loses it: the new content is copied beside the
// target under a temporary name, and only a complete copy is put in the target's place, in one
// step.

#include <string>

#include "platform/FileSystemService.h"

namespace docrecover {

// The temporary file beside target: "~" + its name + ".docrecover-tmp", in the same folder. No
// document carries that suffix, and the name space is this program's own.
std::wstring TemporaryPathFor(const std::wstring& target);

// Afterwards target holds a copy of source; an absent target is created, a plain one (read-only
// too) replaced. On failure the service's error is raised unchanged, target is as it was, and the
// temporary file is gone (unless removing it failed as well; the next call clears it).
void ReplaceWithCopy(FileSystemService& fileSystem, const std::wstring& source,
                     const std::wstring& target);

}  // namespace docrecover
