#include "transfer/ReplaceWithCopy.h"

#include <exception>
#include <string_view>

#include "platform/PlatformError.h"
#include "transfer/FolderEntry.h"

namespace docrecover {

namespace {

constexpr std::wstring_view kTemporarySuffix = L".docrecover-tmp";

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

// Copies source to temporary, which must not exist. A copy that fails leaves no temporary file
// behind; a file under that name that the failed copy did not make is left from an interrupted
// run. It may carry the source's read-only mark (documents from a CD do), so it is removed with
// force, and the copy is made again. Looking for it only after a failure spares every ordinary
// copy a lookup of a missing name, which costs a whole directory scan on a case-sensitive disk.
void CopyBeside(FileSystemService& fileSystem, const std::wstring& source,
                const std::wstring& temporary, const CopyProgress& onProgress) {
  try {
    // Without overwrite: anything else under that name (a folder) is not ours to replace.
    fileSystem.CopyFile(source, temporary, /*overwrite=*/false, onProgress);
  } catch (const PlatformError&) {
    if (!IsAnyFile(fileSystem, temporary)) {
      throw;
    }
    fileSystem.DeleteFile(temporary, /*force=*/true);
    fileSystem.CopyFile(source, temporary, /*overwrite=*/false, onProgress);
  }
}

}  // namespace

std::wstring TemporaryPathFor(const std::wstring& target) {
  const size_t nameStart = target.find_last_of(L'\\') + 1;  // 0 when there is no folder part
  const std::wstring_view name =
      Utf16Prefix(std::wstring_view(target).substr(nameStart),
                  kMaxNameUnits - 1 - kTemporarySuffix.size());  // less "~" and the suffix
  std::wstring temporary = target.substr(0, nameStart);
  temporary.append(1, L'~').append(name).append(kTemporarySuffix);
  return temporary;
}

void ReplaceWithCopy(FileSystemService& fileSystem, ProgressView& view, const std::wstring& source,
                     const std::wstring& target, const DocumentEntry* expected) {
  const std::wstring temporary = TemporaryPathFor(target);
  // The platform runs the copy's progress in frames no exception may cross. A failure the window
  // passes up there (one it recorded earlier) cancels the copy instead, which then leaves nothing,
  // and passes up from here once the copy has returned.
  std::exception_ptr viewFailure;
  const CopyProgress keepAlive = [&view, &viewFailure]() noexcept {
    try {
      view.KeepAlive();
      return true;
    } catch (...) {
      viewFailure = std::current_exception();
      return false;
    }
  };
  try {
    CopyBeside(fileSystem, source, temporary, keepAlive);
  } catch (const PlatformError&) {
    if (!viewFailure) {
      throw;
    }
  }
  if (viewFailure) {
    std::rethrow_exception(viewFailure);
  }
  try {
    try {
      // The disk journals the rename but not the data: unflushed, the copy could take the
      // document's place and then read as zeros after a power cut, with the old content gone.
      // Another program may hold either file for a moment: a virus scanner or a sync client
      // opens the new copy as soon as it is closed, which refuses the flush; a viewer holds the
      // document, which refuses the rename.
      RetryWhileHeld(view, [&] { fileSystem.FlushFile(temporary); });
      // Read back after the flush, so that what is checked is what the rename puts in place;
      // until then the copy lies in the package folder, which only administrators may write.
      RetryWhileHeld(view, [&] {
        if (expected != nullptr && !Matches(ReadFacts(fileSystem, view, temporary), *expected)) {
          throw PlatformError(error::kInvalidData,
                              L"The document " + target +
                                  L" was not replaced: its new copy is not the document this "
                                  L"updater vouches for. The disc may be damaged or changed.");
        }
      });
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
