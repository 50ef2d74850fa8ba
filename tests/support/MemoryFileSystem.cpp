#include "support/MemoryFileSystem.h"

#include <algorithm>
#include <cstring>

#include "platform/PlatformError.h"
#include "platform/TextCase.h"

namespace docrecover::testing {

namespace {

using Entry = MemoryDisk::Entry;

constexpr uint32_t kFileExists = 80;
constexpr size_t kProgressStep = 64 * 1024;  // a copy reports its progress once per step
// Entries with these marks are found only when the lookup mask names them.
constexpr uint32_t kAdmittedByMask =
    attribute::kHidden | attribute::kSystem | attribute::kDirectory;

// Windows calls a copy's progress routine from its own frames, which no exception may cross; so
// does the fake, from a frame that cannot unwind: a routine that throws ends the test.
bool Report(const CopyProgress& onProgress) noexcept {
  return onProgress();
}

// Fails as Windows does: with its error number, naming what failed.
void FailIf(bool failed, uint32_t number, const std::wstring& path = L"") {
  if (failed) {
    throw PlatformError(number, L"Error " + std::to_wstring(number) + L" (in memory): " + path);
  }
}

std::wstring Trimmed(std::wstring path) {
  return path.erase(path.find_last_not_of(L'\\') + 1);
}
// The map key of a path: "c:\a\" and "C:\A" are one entry.
std::wstring KeyOf(const std::wstring& path) {
  return UpperCase(Trimmed(path));
}
// "C:\a\b" is "b" in "C:\a\".
std::wstring FolderOf(const std::wstring& path) {
  return path.substr(0, Trimmed(path).find_last_of(L'\\') + 1);
}
std::wstring NameOf(const std::wstring& path) {
  return path.substr(path.find_last_of(L'\\') + 1);
}
uint32_t MarksOf(const Entry& entry) {
  return entry.attributes | (entry.folder ? attribute::kDirectory : 0);
}

// The entry an object stands for; fails as Windows does once it is gone or cannot be reached.
const Entry& Reach(const MemoryDisk& disk, const std::wstring& path, bool folder) {
  const Entry* entry = disk.Find(path);
  FailIf(entry == nullptr || entry->folder != folder,
         folder ? error::kPathNotFound : error::kFileNotFound, path);
  FailIf(entry->unreachable, error::kAccessDenied, path);
  return *entry;
}

// A file, a folder or a drive (its root folder's entry): one kind of object, as the disk has one
// kind of entry.
class MemoryItem : public File, public Folder, public Drive {
 public:
  MemoryItem(std::shared_ptr<MemoryDisk> disk, std::wstring path, const Entry& entry)
      : disk_(std::move(disk)),
        path_(std::move(path)),
        folder_(entry.folder),
        link_(!entry.link.empty() && IsLinkTag(entry.tag)),
        driveType_(entry.driveType) {}

  std::wstring Path() const override {
    disk_->Enter(Op::kOther);
    Reach(*disk_, path_, folder_);
    return path_;
  }
  std::wstring Name() const override {
    disk_->Enter(Op::kOther);
    Reach(*disk_, path_, folder_);
    return NameOf(path_);
  }
  bool IsLink() const override { return link_; }
  FolderCollection SubFolders() override {
    disk_->Enter(Op::kOther);
    return FolderCollection(HandOut(folders_));
  }
  FileCollection Files() override {
    disk_->Enter(Op::kOther);
    return FileCollection(HandOut(files_));
  }
  int32_t DriveType() const override {
    disk_->Enter(Op::kOther);
    return driveType_;
  }
  std::wstring DriveLetter() const override {
    disk_->Enter(Op::kOther);
    return path_.substr(0, 1);
  }
  FolderPtr RootFolder() const override {
    disk_->Enter(Op::kOther);
    const Entry* root = disk_->Find(path_);  // "not ready" on an unreadable drive
    FailIf(root == nullptr, error::kPathNotFound, path_);
    return std::make_shared<MemoryItem>(disk_, path_, *root);
  }

 private:
  // One directory read fills both parts; each is kept only until it is handed out.
  template <class Part>
  Part HandOut(std::optional<Part>& part) {
    if (!part) {
      Read();
    }
    return std::exchange(part, std::nullopt).value();
  }

  void Read() {
    const Entry& entry = Reach(*disk_, path_, true);
    FailIf(entry.unlistable, error::kAccessDenied, path_);
    disk_->CountRead(path_);
    const Entry* listed = entry.link.empty() ? &entry : disk_->Find(entry.link);
    FailIf(listed == nullptr, error::kPathNotFound, entry.link);
    folders_.emplace();
    files_.emplace();
    for (const Entry* child : disk_->Children(listed)) {
      const std::wstring path =
          (path_.back() == L'\\' ? path_ : path_ + L'\\') + NameOf(child->path);
      auto item = std::make_shared<MemoryItem>(disk_, path, *child);
      child->folder ? folders_->push_back(item) : files_->push_back(item);
    }
  }

  std::shared_ptr<MemoryDisk> disk_;
  std::wstring path_;
  bool folder_;
  bool link_;
  int32_t driveType_;
  std::optional<std::vector<FolderPtr>> folders_;  // a part not yet handed out
  std::optional<std::vector<FilePtr>> files_;
};

// Reads the content the file had when it was opened: Windows lets nobody write to it meanwhile.
class MemoryReader final : public FileReader {
 public:
  MemoryReader(std::shared_ptr<MemoryDisk> disk, std::string content)
      : disk_(std::move(disk)), content_(std::move(content)) {}
  uint64_t Size() const override { return content_.size(); }
  size_t Read(std::span<std::byte> buffer) override {
    disk_->Enter(Op::kOther);
    const size_t read = std::min(buffer.size(), content_.size() - at_);
    std::memcpy(buffer.data(), content_.data() + at_, read);
    at_ += read;
    return read;
  }

 private:
  std::shared_ptr<MemoryDisk> disk_;
  std::string content_;
  size_t at_ = 0;
};

class MemoryFileSystem : public FileSystemService {
 public:
  explicit MemoryFileSystem(std::shared_ptr<MemoryDisk> disk) : disk_(std::move(disk)) {}

  DriveCollection Drives() override {
    disk_->Enter(Op::kOther);
    std::vector<DrivePtr> drives;
    for (const Entry* drive : disk_->Children(nullptr)) {
      drives.push_back(std::make_shared<MemoryItem>(disk_, drive->path + L'\\', *drive));
    }
    return DriveCollection(std::move(drives));
  }

  FolderPtr GetFolder(const std::wstring& path) override {
    disk_->Enter(Op::kOther);
    const Entry& folder = Reach(*disk_, path, true);
    const std::wstring shown = Trimmed(path);  // as given, as GetFullPathNameW leaves it
    return std::make_shared<MemoryItem>(disk_, shown.size() == 2 ? shown + L'\\' : shown, folder);
  }

  std::wstring FindEntry(const std::wstring& path, uint32_t mask) override {
    disk_->Enter(Op::kOther);
    const Entry* folder = disk_->Find(FolderOf(path));
    if (folder == nullptr || !folder->folder) {
      return L"";  // a missing folder on the way matches nothing
    }
    FailIf(folder->unlistable || folder->unreachable, error::kAccessDenied, path);
    const Entry* entry = disk_->Find(path);
    const bool admitted = entry != nullptr && (MarksOf(*entry) & kAdmittedByMask & ~mask) == 0;
    return admitted ? NameOf(entry->path) : L"";
  }

  void DeleteFile(const std::wstring& path, bool force) override {
    disk_->Enter(Op::kDeleteFile);
    const Entry& file = FileAt(path);
    FailIf(!force && (file.attributes & attribute::kReadOnly) != 0, error::kAccessDenied, path);
    disk_->Erase(file);
  }

  void CopyFile(const std::wstring& source, const std::wstring& destination, bool overwrite,
                const CopyProgress& onProgress) override {
    disk_->Enter(Op::kCopyFile);
    const Entry& from = FileAt(source);
    if (const Entry* to = Target(destination)) {
      // Windows refuses these targets even with overwrite (Wine does not).
      FailIf(to->folder || (to->attributes & (attribute::kHidden | attribute::kReadOnly)) != 0,
             error::kAccessDenied, destination);
      FailIf(!overwrite, kFileExists, destination);
    }
    for (size_t copied = kProgressStep; onProgress && copied <= from.content.size();
         copied += kProgressStep) {
      FailIf(!Report(onProgress), error::kCancelled, destination);  // made nothing yet
    }
    disk_->AddFile(destination, from.content, from.attributes | attribute::kArchive).flushed =
        false;
  }

  // Windows refuses to open a read-only file for writing, which a flush needs; the service lifts
  // the mark for the flush and puts it back, so here the mark simply stays.
  void FlushFile(const std::wstring& path) override {
    disk_->Enter(Op::kOther);
    const Entry& file = FileAt(path);
    FailIf(disk_->Refuses(path), error::kSharingViolation, path);
    file.flushed = true;
  }

  void ReplaceFile(const std::wstring& source, const std::wstring& destination) override {
    disk_->Enter(Op::kReplaceFile);
    const Entry moved = FileAt(source);
    const Entry* to = Target(destination);
    // A file is replaced whatever its marks: Windows' rename refuses only a read-only target,
    // whose mark the service lifts. The new file takes the old one's place in listings.
    FailIf(disk_->Refuses(source) || (to != nullptr && disk_->Refuses(destination)),
           error::kSharingViolation, destination);
    FailIf(to != nullptr && to->folder, error::kAccessDenied, destination);
    disk_->Erase(moved);
    disk_->AddFile(destination, moved.content, moved.attributes).flushed = moved.flushed;
  }

  std::unique_ptr<FileReader> OpenForReading(const std::wstring& path) override {
    disk_->Enter(Op::kOther);
    FailIf(disk_->Refuses(path), error::kSharingViolation, path);
    return std::make_unique<MemoryReader>(disk_, FileAt(path).content);
  }

  std::unique_ptr<Sha256> NewSha256() override { return NewTestSha256(); }

 private:
  const Entry& FileAt(const std::wstring& path) {
    const Entry* entry = disk_->Find(path);
    FailIf(entry == nullptr, error::kFileNotFound, path);
    FailIf(entry->folder, error::kAccessDenied, path);
    return *entry;
  }

  // The entry at a destination, or null; fails when the folder it goes in is missing, or when
  // the name is longer than Windows takes.
  const Entry* Target(const std::wstring& path) {
    const Entry* folder = disk_->Find(FolderOf(path));
    FailIf(folder == nullptr || !folder->folder, error::kPathNotFound, path);
    const std::wstring name = NameOf(path);
    FailIf(Utf16Prefix(name, kMaxNameUnits).size() != name.size(), error::kInvalidName, path);
    return disk_->Find(path);
  }

  std::shared_ptr<MemoryDisk> disk_;
};

}  // namespace

FileSystemPtr NewMemoryFileSystem(const std::shared_ptr<MemoryDisk>& disk) {
  return std::make_shared<MemoryFileSystem>(disk);
}

void MemoryDisk::AddDrive(wchar_t letter, int32_t type) {
  Make(std::wstring(1, letter) + L":", 0).driveType = type;
}

Entry& MemoryDisk::AddFile(const std::wstring& path, const std::string& content,
                           uint32_t attributes) {
  Entry& file = Make(path, attributes);
  file.folder = false;
  file.content = content;
  return file;
}

void MemoryDisk::AddLink(const std::wstring& path, const std::wstring& target, uint32_t tag) {
  Entry& link = Make(path, attribute::kReparsePoint);
  link.link = target;
  link.tag = tag;
}

std::optional<std::string> MemoryDisk::Content(const std::wstring& path) const {
  const Entry* entry = Find(path);
  return entry != nullptr && !entry->folder ? std::optional(entry->content) : std::nullopt;
}

void MemoryDisk::Enter(Op op) {
  // Counts only grow, so a planned call comes once.
  const int64_t callOfOp = ++callsOf_[op];
  const int64_t call = ++calls_;
  const auto planned = faultOf_.find(op);
  const bool nth = fault_ && fault_->first == call;
  const bool nthOfOp = planned != faultOf_.end() && planned->second.first == callOfOp;
  FailIf(nth || nthOfOp, nth ? fault_->second : nthOfOp ? planned->second.second : 0);
  if (powerCut_ && calls_ > *powerCut_) {
    for (auto& [key, entry] : entries_) {
      if (!entry.flushed) {
        entry.content.assign(entry.content.size(), '\0');
      }
    }
    FailIf(true, error::kNotReady);
  }
}

const Entry* MemoryDisk::Find(const std::wstring& path) const {
  const std::wstring key = KeyOf(path);
  const auto drive = entries_.find(key.substr(0, 2));
  FailIf(drive != entries_.end() && !drive->second.readable, error::kNotReady, path);
  const auto found = entries_.find(key);
  return found == entries_.end() ? nullptr : &found->second;
}

Entry& MemoryDisk::Make(const std::wstring& path, uint32_t attributes) {
  const std::wstring parent = Trimmed(FolderOf(path));
  if (!parent.empty() && entries_.count(KeyOf(parent)) == 0) {
    Make(parent, 0);
  }
  Entry& entry = entries_.try_emplace(KeyOf(path), Entry{Trimmed(path)}).first->second;
  entry.attributes = attributes;
  return entry;
}

void MemoryDisk::Erase(const Entry& entry) {
  entries_.erase(KeyOf(entry.path));
}

std::vector<const Entry*> MemoryDisk::Children(const Entry* folder) const {
  const std::wstring prefix = folder == nullptr ? L"" : KeyOf(folder->path) + L'\\';
  std::vector<const Entry*> children;
  for (auto it = entries_.lower_bound(prefix);
       it != entries_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
    if (it->first.find(L'\\', prefix.size()) == std::wstring::npos) {
      children.push_back(&it->second);
    }
  }
  return children;
}

Entry& MemoryDisk::At(const std::wstring& path) const {
  const Entry* entry = Find(path);
  FailIf(entry == nullptr, error::kPathNotFound, path);
  return const_cast<Entry&>(*entry);  // an entry of entries_, which the disk owns
}

}  // namespace docrecover::testing
