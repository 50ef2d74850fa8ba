#include "transfer/ReplaceWithCopy.h"

#include "platform/PlatformError.h"
#include "transfer/FolderEntry.h"

namespace docrecover {

namespace {

// The errors with which Windows refuses a file another program holds open: a rename over it or
// a removal gives access denied or a sharing violation, a locked range a lock violation.
bool IsHeldByAnother(uint32_t number) {
  return number == error::kAccessDenied || number == error::kSharingViolation ||
         number == error::kLockViolation;
}

// Runs step, and while it fails as if another program held the file, waits and runs it again,
// kLockTries times in all. The last failure passes up.
template <class Step>
void RetryWhileHeld(ProgressView& view, Step step) {
  for (int32_t tries = 1;; ++tries) {
    try {
      step();
      return;
    } catch (const PlatformError& failure) {
      if (tries == kLockTries || !IsHeldByAnother(failure.Number())) {
        throw;
      }
    }
    view.Pause(kLockPauseMilliseconds);
  }
}

}  // namespace

std::wstring TemporaryPathFor(const std::wstring& target) {
  const size_t nameStart = target.find_last_of(L'\\') + 1;  // 0 when there is no folder part
  return target.substr(0, nameStart) + L'~' + target.substr(nameStart) + L".docrecover-tmp";
}

void ReplaceWithCopy(FileSystemService& fileSystem, ProgressView& view, const std::wstring& source,
                     const std::wstring& target) {
  const std::wstring temporary = TemporaryPathFor(target);
  const CopyProgress keepAlive = [&view] { view.KeepAlive(); };
  // Without overwrite: anything else under that name (a folder) is not ours to replace. A failed
  // copy leaves no temporary file behind.
  try {
    fileSystem.CopyFile(source, temporary, /*overwrite=*/false, keepAlive);
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
    fileSystem.CopyFile(source, temporary, /*overwrite=*/false, keepAlive);
  }
  try {
    // The disk journals the rename but not the data: unflushed, the copy could take the
    // document's place and then read as zeros after a power cut, with the old content gone.
    fileSystem.FlushFile(temporary);
    try {
      RetryWhileHeld(view, [&] { fileSystem.ReplaceFile(temporary, target); });
    } catch (const PlatformError& failure) {
      if (!IsHeldByAnother(failure.Number())) {
        throw;
      }
      // Named for the document, not the temporary file, which the user has never seen.
      throw PlatformError(failure.Number(),
                          L"The document " + target +
                              L" could not be replaced. Another program may be "
                              L"using it: close it, then run this updater again.");
    }
  } catch (const PlatformError&) {
    try {
      RetryWhileHeld(view, [&] { fileSystem.DeleteFile(temporary, /*force=*/true); });
    } catch (const PlatformError&) {
      // Absorbed: the first error is the one to report, and the next copy of this document
      // clears the leftover before it starts.
    }
    throw;
  }
}

}  // namespace docrecover
