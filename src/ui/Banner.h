#pragma once

// The banner picture: a JPEG kept in the program's resources, decoded once into a bitmap.

#include "ui/GdiObject.h"

namespace docrecover::ui {

// Decodes the RCDATA resource resourceId of the running program; throws PlatformError when it
// is missing or cannot be decoded. The thread must have joined COM (the window holds it).
UniqueBitmap LoadBanner(int resourceId);

}  // namespace docrecover::ui
