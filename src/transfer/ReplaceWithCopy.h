#pragma once

// Replacing a document so that neither a failure nor a power cut loses it: the new content is
// copied beside the target under a temporary name and flushed to the disk, and only then put in
// the target's place, in one step. Another program that holds the document for a moment (a
// virus scanner, an indexer, a viewer) is waited for.

#include <cstdint>
#include <string>

#include "platform/Desktop.h"
#include "platform/FileSystemService.h"
#include "transfer/DocumentManifest.h"

namespace docrecover {

// How often the flush of the new copy, the put-in-place step and the removal of the temporary
// file are each tried while another program holds a file, and how long to wait between the
// tries: about two seconds for each.
inline constexpr int32_t kLockTries = 20;
inline constexpr int32_t kLockPauseMilliseconds = 100;

// The temporary file beside target: "~" + its name + ".docrecover-tmp", in the same folder. No
// document carries that suffix, and the name space is this program's own. A name too long for
// that loses its end, in whole characters, so that the temporary name takes kMaxNameUnits at
// most. Either way it depends on target's name alone, so that a leftover is found by the next run.
std::wstring TemporaryPathFor(const std::wstring& target);

// With expected, the new copy is read back once it is on the disk and put in target's place only
// when its size and SHA-256 are expected's: a disc that reads differently the second time (a
// failing drive, a network share, a disc changed meanwhile) puts nothing in place that the list
// does not vouch for. A copy that differs fails with kInvalidData, naming the document. Only the
// file's data is compared: named streams (which CopyFileExW copies, and which a disc copied to an
// NTFS stick can carry) come along unchecked. Nothing opens them when it opens the document, the
// folder they land in is writable by administrators only, and the one stream Windows acts on, the
// mark of a download, only makes it more careful with the document.
//
// Afterwards target holds a copy of source, on the disk; an absent target is created, an existing
// file replaced whatever its marks. view is kept alive during the copy and the waits; a failure
// it raises during the copy cancels the copy and passes up unchanged. On failure the service's
// error is raised, target is as it was, and the temporary file is gone (unless removing it failed
// as well; the next call clears it). A file still held by another program after the last try
// fails with an error that names the document, and keeps the platform's number.
void ReplaceWithCopy(FileSystemService& fileSystem, ProgressView& view, const std::wstring& source,
                     const std::wstring& target, const DocumentEntry* expected = nullptr);

}  // namespace docrecover
