#pragma once

#include "discovery/StringList.h"
#include "platform/FileSystemService.h"

namespace docrecover {

// The bare letters (no colon) of the fixed hard disks, in the service's drive order; empty when
// there is none. Only the drive type decides. Failures of the service pass to the caller.
StringList GetFixedDrives(FileSystemService& fileSystem);

}  // namespace docrecover
