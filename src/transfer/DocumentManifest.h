#pragma once

// The list of documents a program vouches for. The build puts it into the program's resources, so
// that the maker's signature covers what the program installs: a document is copied only when it
// is on the list, and only as the list gives it (its size and SHA-256).
//
// The text is UTF-8 with LF line ends: the line "DocRecover documents 1", then one line per
// document, "<sha256, 64 lowercase hex> <size in bytes> <name>", sorted by the names' UTF-8 bytes.
// The first line alone is an empty list, which is not the same as none.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Desktop.h"

namespace docrecover {

struct DocumentEntry {
  std::wstring name;  // a bare name, never a path
  uint64_t size = 0;
  Sha256Digest sha256 = {};
};

using DocumentManifest = std::vector<DocumentEntry>;

// The list the text gives. Text that does not follow the form fails with std::runtime_error: a
// damaged program, reported as such, never taken for "no list". So does a name that is not a bare
// name Windows keeps as it is (empty, "." or "..", with a path separator, a colon or a control
// character, ending in a dot or a space), which would lead a copy out of its folder.
DocumentManifest ParseManifest(std::string_view text);

// The size and digest of the file at path, read once from its start in chunks, keeping view alive
// between them.
struct FileFacts {
  uint64_t size = 0;
  Sha256Digest sha256 = {};
  bool operator==(const FileFacts&) const = default;
};
FileFacts ReadFacts(FileSystemService& fileSystem, ProgressView& view, const std::wstring& path);

inline bool Matches(const FileFacts& facts, const DocumentEntry& entry) {
  return facts == FileFacts{entry.size, entry.sha256};
}

}  // namespace docrecover
