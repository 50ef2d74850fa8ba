#pragma once

// The file-system service: drives, folders and files as shared handles, and the few file
// operations the program performs. Portable: implementations live in platform/win32 (the real
// one) and tests/support (in memory). A failing call throws PlatformError.
//
// Note for Windows code: the Windows header defines DeleteFile, CopyFile, MoveFile and ReplaceFile
// as macros. Include it only in Win32 .cpp files, and #undef those names there, so these members
// are never renamed.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace docrecover {

class Drive;
class Folder;
class File;
using DrivePtr = std::shared_ptr<Drive>;
using FolderPtr = std::shared_ptr<Folder>;
using FilePtr = std::shared_ptr<File>;

// Drive type codes as the service reports them.
namespace drive_type {
inline constexpr int32_t kUnknown = 0;
inline constexpr int32_t kRemovable = 1;
inline constexpr int32_t kFixed = 2;
inline constexpr int32_t kNetwork = 3;
inline constexpr int32_t kCdRom = 4;
inline constexpr int32_t kRamDisk = 5;
}  // namespace drive_type

// Attribute bits, with the Win32 values. In a lookup mask, kHidden, kSystem and kDirectory admit
// entries that carry them; read-only and archive entries are always admitted.
namespace attribute {
inline constexpr uint32_t kReadOnly = 0x1;
inline constexpr uint32_t kHidden = 0x2;
inline constexpr uint32_t kSystem = 0x4;
inline constexpr uint32_t kDirectory = 0x10;
inline constexpr uint32_t kArchive = 0x20;
inline constexpr uint32_t kReparsePoint = 0x400;
}  // namespace attribute

// Reparse tags, with the Win32 values. The tag says what kind of reparse point a folder is.
namespace reparse_tag {
inline constexpr uint32_t kMountPoint = 0xA0000003;  // a junction or a mounted volume
inline constexpr uint32_t kSymlink = 0xA000000C;
inline constexpr uint32_t kCloud = 0x9000001A;          // a files-on-demand placeholder
inline constexpr uint32_t kNameSurrogate = 0x20000000;  // the bit of every tag that names elsewhere
}  // namespace reparse_tag

// Whether a reparse folder leads somewhere else, so that a walk must not enter it: a name surrogate
// (symbolic link, junction, mount point) does, and so does a tag of 0, which Wine gives a Unix
// symbolic link. Any other tag (cloud placeholders, deduplicated data) marks an ordinary folder
// whose content is its own.
bool IsLinkTag(uint32_t tag);

// A snapshot of items with a count and an enumeration in service order.
template <class Item>
class Collection {
 public:
  Collection() = default;
  explicit Collection(std::vector<std::shared_ptr<Item>> items) : items_(std::move(items)) {}

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  // The items themselves, for a holder that keeps the snapshot instead of copying it.
  std::vector<std::shared_ptr<Item>> TakeItems() && { return std::move(items_); }

 private:
  std::vector<std::shared_ptr<Item>> items_;
};

using DriveCollection = Collection<Drive>;
using FolderCollection = Collection<Folder>;
using FileCollection = Collection<File>;

class File {
 public:
  virtual ~File() = default;
  // The full path as stored on disk: the folder's path, one backslash, the name.
  virtual std::wstring Path() const = 0;
  // The name without its folder.
  virtual std::wstring Name() const = 0;
  // Path and Name written into storage the caller keeps, with the same text and the same
  // failures (text is then unchanged). A walk over many files reuses one buffer this way instead
  // of taking a new string from every file.
  virtual void PathInto(std::wstring& text) const { text = Path(); }
  virtual void NameInto(std::wstring& text) const { text = Name(); }
};

class Folder {
 public:
  virtual ~Folder() = default;
  // The full path, without a trailing backslash except at a drive root ("C:\").
  virtual std::wstring Path() const = 0;
  // The direct subfolders and the files directly in the folder. Both come from one directory
  // read, taken the first time either is asked for; the folder keeps each part only until it has
  // been handed out, so asking for the same part again reads the directory anew.
  virtual FolderCollection SubFolders() = 0;
  virtual FileCollection Files() = 0;
  // True for a reparse folder that leads somewhere else (see IsLinkTag): a walk does not enter
  // it.
  virtual bool IsLink() const = 0;
};

class Drive {
 public:
  virtual ~Drive() = default;
  virtual int32_t DriveType() const = 0;
  // The bare letter, no colon.
  virtual std::wstring DriveLetter() const = 0;
  // Fails when the drive has no readable root (no media, not ready).
  virtual FolderPtr RootFolder() const = 0;
};

// The longest name (one component of a path) that Windows' file systems take, in UTF-16 code
// units.
inline constexpr size_t kMaxNameUnits = 255;

// The longest start of name that takes at most units UTF-16 code units, in whole characters: never
// half a surrogate pair. Where wchar_t holds a whole character (Linux), one beyond U+FFFF counts
// as the two units it takes on Windows.
std::wstring_view Utf16Prefix(std::wstring_view name, size_t units);

// Called now and then while a copy runs, so that the caller's window stays alive; the platform may
// call it seldom or never. It returns whether the copy goes on: false cancels it, and the copy
// then fails with error::kCancelled, leaving no destination. It runs inside the platform's own
// frames (Windows calls it from C code), which no exception may cross, so it must not throw: work
// in it that can fail keeps its failure, returns false, and passes the failure up once CopyFile
// has returned.
using CopyProgress = std::function<bool()>;

// A file open for reading from its start. Nobody may write to it while it is open.
class FileReader {
 public:
  virtual ~FileReader() = default;
  // The file's size in bytes when it was opened.
  virtual uint64_t Size() const = 0;
  // Reads the next bytes into buffer; returns how many, 0 at the end of the file.
  virtual size_t Read(std::span<std::byte> buffer) = 0;
};

using Sha256Digest = std::array<uint8_t, 32>;

// A SHA-256 digest under way, from the platform's own provider: the program has no hashing code of
// its own.
class Sha256 {
 public:
  virtual ~Sha256() = default;
  virtual void Add(std::span<const std::byte> data) = 0;
  // The digest of everything added; nothing may be added after it.
  virtual Sha256Digest Finish() = 0;
};

class FileSystemService {
 public:
  virtual ~FileSystemService() = default;

  // Every drive the system knows, in the platform's drive order.
  virtual DriveCollection Drives() = 0;
  // The folder at path (a drive root as "C:\"); fails unless it is an existing, reachable folder.
  virtual FolderPtr GetFolder(const std::wstring& path) = 0;
  // The directory lookup with an attribute mask: the name (no folder) of the first entry that
  // matches path, or empty when none does. Wildcards (* and ?) may appear in the last component.
  // Hidden entries need kHidden in mask, system entries kSystem, folders kDirectory; read-only
  // and archive never exclude. A missing folder on the way is "no match", not a failure.
  virtual std::wstring FindEntry(const std::wstring& path, uint32_t mask) = 0;

  // Deletes a file; force also deletes a read-only file.
  virtual void DeleteFile(const std::wstring& path, bool force) = 0;
  // Copies source to destination; with overwrite an existing destination is replaced, without
  // it an existing destination makes the copy fail. Windows refuses to overwrite a hidden or a
  // read-only destination, and a name over kMaxNameUnits. A copy that fails leaves no destination
  // behind that it created. A new copy's data may reach the disk only later (see FlushFile).
  virtual void CopyFile(const std::wstring& source, const std::wstring& destination, bool overwrite,
                        const CopyProgress& onProgress = {}) = 0;
  // Writes the file's data to the disk, so that a power cut after it cannot lose them. A
  // read-only mark does not stop it and is kept.
  virtual void FlushFile(const std::wstring& path) = 0;
  // Puts source in destination's place in one step, on the same volume. An existing file at
  // destination is replaced, whatever its marks (read-only too); a folder is not. On failure both
  // files are as they were. The rename is on the disk when the call returns.
  virtual void ReplaceFile(const std::wstring& source, const std::wstring& destination) = 0;

  // The file at path, open for reading; fails when it is missing, a folder, or held by a writer.
  virtual std::unique_ptr<FileReader> OpenForReading(const std::wstring& path) = 0;
  // A new SHA-256 digest.
  virtual std::unique_ptr<Sha256> NewSha256() = 0;

  // The path less its last component. At a drive root the root keeps its backslash
  // ("C:\ZEMO.exe" gives "C:\"). Pure text: the same on every platform.
  static std::wstring GetParentFolderName(const std::wstring& path);
};

using FileSystemPtr = std::shared_ptr<FileSystemService>;

}  // namespace docrecover
