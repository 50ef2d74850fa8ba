#include "discovery/GetFixedDrives.h"

namespace docrecover {

StringList GetFixedDrives(FileSystemService& fileSystem) {
  StringList letters;
  for (const DrivePtr& drive : fileSystem.Drives()) {
    if (drive->DriveType() == drive_type::kFixed) {
      letters.push_back(drive->DriveLetter());
    }
  }
  return letters;
}

}  // namespace docrecover
