#include "transfer/ReplaceWithCopy.h"

#include "platform/PlatformError.h"
#include "transfer/FolderEntry.h"

namespace docrecover {

std::wstring TemporaryPathFor(const std::wstring& target) {
  const size_t nameStart = target.find_last_of(L'\\') + 1;  // 0 when there is no folder part
  return target.substr(0, nameStart) + L'~' + target.substr(nameStart) + L".docrecover-tmp";
}

void ReplaceWithCopy(FileSystemService& fileSystem, const std::wstring& source,
                     const std::wstring& target) {
  const std::wstring temporary = TemporaryPathFor(target);
  // Without overwrite: anything else under that name (a folder) is not ours to replace. A failed
  // copy leaves no temporary file behind.
  try {
    fileSystem.CopyFile(source, temporary, /*overwrite=*/false);
  } catch (const PlatformError&) {
    // A file under the temporary name that the failed copy did not make is left from an
    // interrupted run. It may carry the source's read-only mark (documents from a CD do), so it
    // is removed with force, and the copy is made again. Looking for it only after a failure
    // spares every ordinary copy a lookup of a missing name, which costs a whole directory scan
    // on a case-sensitive disk.
    if (!IsAnyFile(fileSystem, temporary)) {
      throw;
    }
    fileSystem.DeleteFile(temporary, /*force=*/true);
    fileSystem.CopyFile(source, temporary, /*overwrite=*/false);
  }
  try {
    fileSystem.ReplaceFile(temporary, target);
  } catch (const PlatformError&) {
    try {
      fileSystem.DeleteFile(temporary, /*force=*/true);
    } catch (const PlatformError&) {
      // Absorbed: the replace's error is the one to report, and the next copy of this document
      // clears the leftover before it starts.
    }
    throw;
  }
}

}  // namespace docrecover
