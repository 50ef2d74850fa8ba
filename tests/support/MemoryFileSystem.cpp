#include "support/MemoryFileSystem.h"

#include <algorithm>
#include <utility>

#include "platform/PlatformError.h"
#include "platform/TextCase.h"

namespace docrecover::testing {

namespace {

constexpr uint32_t kFileExists = 80;
constexpr uint32_t kNotSameDevice = 17;

std::wstring MessageFor(uint32_t error) {
  switch (error) {
    case error::kFileNotFound:
      return L"The system cannot find the file specified.";
    case error::kPathNotFound:
      return L"The system cannot find the path specified.";
    case error::kAccessDenied:
      return L"Access is denied.";
    case error::kNotReady:
      return L"The device is not ready.";
    case error::kSharingViolation:
      return L"The process cannot access the file because it is being used by another process.";
    case error::kDiskFull:
      return L"There is not enough space on the disk.";
    case kFileExists:
      return L"The file exists.";
    default:
      return L"Error " + std::to_wstring(error) + L".";
  }
}

[[noreturn]] void Fail(uint32_t error) {
  throw PlatformError(error, MessageFor(error));
}

// Windows-style wildcard match of a whole name, ignoring case.
bool Matches(const std::wstring& pattern, const std::wstring& name) {
  const std::wstring p = UpperCase(pattern);
  const std::wstring n = UpperCase(name);
  size_t pi = 0, ni = 0, star = std::wstring::npos, resume = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == L'?' || p[pi] == n[ni])) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == L'*') {
      star = pi++;
      resume = ni;
    } else if (star != std::wstring::npos) {
      pi = star + 1;
      ni = ++resume;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == L'*') {
    ++pi;
  }
  return pi == p.size();
}

// "C:\a\b\" -> {"C", "a", "b"}; the drive is the letter without its colon.
std::vector<std::wstring> Split(const std::wstring& path) {
  std::vector<std::wstring> parts;
  std::wstring part;
  for (wchar_t c : path) {
    if (c == L'\\') {
      if (!part.empty()) {
        parts.push_back(part);
      }
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) {
    parts.push_back(part);
  }
  if (parts.empty() || parts[0].size() != 2 || parts[0][1] != L':') {
    return {};
  }
  parts[0].pop_back();
  return parts;
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  return folder.back() == L'\\' ? folder + name : folder + L'\\' + name;
}

// Splits "C:\a\b" into "C:\a" and "b", and "C:\b" into "C:\" and "b".
std::pair<std::wstring, std::wstring> SplitLast(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'\\');
  if (slash == std::wstring::npos) {
    return {L"", path};
  }
  std::wstring folder = path.substr(0, slash);
  if (folder.size() == 2 && folder[1] == L':') {
    folder += L'\\';
  }
  return {folder, path.substr(slash + 1)};
}

}  // namespace

struct MemoryDisk::Node {
  std::wstring name;
  std::wstring key;  // the upper-cased name: names compare without regard to case
  bool folder = true;
  uint32_t attributes = 0;
  std::string content;
  std::wstring linkTarget;  // set for a link folder
  int32_t driveType = drive_type::kFixed;
  bool readable = true;  // drives only
  bool unlistable = false;
  bool unreachable = false;
  bool inUse = false;
  Node* parent = nullptr;
  std::vector<std::unique_ptr<Node>> children;

  Node* Child(const std::wstring& childName) const {
    const std::wstring wanted = UpperCase(childName);
    for (const auto& child : children) {
      if (child->key == wanted) {
        return child.get();
      }
    }
    return nullptr;
  }
  void Rename(const std::wstring& newName) {
    name = newName;
    key = UpperCase(newName);
  }
  bool IsLink() const { return !linkTarget.empty(); }
};

namespace {

using Node = MemoryDisk::Node;

class MemoryFile : public File {
 public:
  MemoryFile(std::shared_ptr<MemoryDisk> disk, std::wstring path, std::wstring name)
      : disk_(std::move(disk)), path_(std::move(path)), name_(std::move(name)) {}

  std::wstring Path() const override {
    disk_->Enter(Op::kFilePath);
    Reach();
    return path_;
  }
  std::wstring Name() const override {
    disk_->Enter(Op::kFileName);
    Reach();
    return name_;
  }

 private:
  void Reach() const {
    const Node* node = disk_->Find(path_);
    if (node == nullptr || node->folder) {
      Fail(error::kFileNotFound);
    }
    if (node->unreachable) {
      Fail(error::kAccessDenied);
    }
  }

  std::shared_ptr<MemoryDisk> disk_;
  std::wstring path_;
  std::wstring name_;
};

class MemoryFolder : public Folder {
 public:
  MemoryFolder(std::shared_ptr<MemoryDisk> disk, std::wstring path, bool isLink)
      : disk_(std::move(disk)), path_(std::move(path)), isLink_(isLink) {}

  std::wstring Path() const override {
    disk_->Enter(Op::kFolderPath);
    Reach();
    return path_;
  }

  FolderCollection SubFolders() override {
    disk_->Enter(Op::kSubFolders);
    if (!pendingFolders_) {
      Read();
    }
    pendingFolders_ = false;
    return FolderCollection(std::move(folders_));
  }

  FileCollection Files() override {
    disk_->Enter(Op::kFiles);
    if (!pendingFiles_) {
      Read();
    }
    pendingFiles_ = false;
    return FileCollection(std::move(files_));
  }

  bool IsLink() const override { return isLink_; }

 private:
  const Node& Reach() const {
    const Node* node = disk_->Find(path_);
    if (node == nullptr || !node->folder) {
      Fail(error::kPathNotFound);
    }
    if (node->unreachable) {
      Fail(error::kAccessDenied);
    }
    return *node;
  }

  // One directory read fills both parts; each is kept only until it is handed out.
  void Read() {
    const Node& node = Reach();
    if (node.unlistable) {
      Fail(error::kAccessDenied);
    }
    disk_->CountDirectoryRead(path_);
    const Node* listed = node.IsLink() ? disk_->Find(node.linkTarget) : &node;
    if (listed == nullptr) {
      Fail(error::kPathNotFound);
    }
    folders_.clear();
    files_.clear();
    for (const auto& child : listed->children) {
      const std::wstring childPath = Join(path_, child->name);
      if (child->folder) {
        folders_.push_back(std::make_shared<MemoryFolder>(disk_, childPath, child->IsLink()));
      } else {
        files_.push_back(std::make_shared<MemoryFile>(disk_, childPath, child->name));
      }
    }
    pendingFolders_ = true;
    pendingFiles_ = true;
  }

  std::shared_ptr<MemoryDisk> disk_;
  std::wstring path_;
  bool isLink_;
  std::vector<FolderPtr> folders_;
  std::vector<FilePtr> files_;
  bool pendingFolders_ = false;
  bool pendingFiles_ = false;
};

class MemoryDrive : public Drive {
 public:
  MemoryDrive(std::shared_ptr<MemoryDisk> disk, wchar_t letter, int32_t type)
      : disk_(std::move(disk)), letter_(letter), type_(type) {}

  int32_t DriveType() const override {
    disk_->Enter(Op::kDriveType);
    return type_;
  }
  std::wstring DriveLetter() const override {
    disk_->Enter(Op::kDriveLetter);
    return std::wstring(1, letter_);
  }
  FolderPtr RootFolder() const override {
    disk_->Enter(Op::kRootFolder);
    const std::wstring root = std::wstring(1, letter_) + L":\\";
    if (disk_->Find(root) == nullptr) {
      Fail(error::kPathNotFound);
    }
    return std::make_shared<MemoryFolder>(disk_, root, false);
  }

 private:
  std::shared_ptr<MemoryDisk> disk_;
  wchar_t letter_;
  int32_t type_;
};

class MemoryFileSystem : public FileSystemService {
 public:
  explicit MemoryFileSystem(std::shared_ptr<MemoryDisk> disk) : disk_(std::move(disk)) {}

  DriveCollection Drives() override {
    disk_->Enter(Op::kDrives);
    std::vector<DrivePtr> drives;
    for (const auto& drive : disk_->Drives().children) {
      drives.push_back(std::make_shared<MemoryDrive>(disk_, drive->name[0], drive->driveType));
    }
    return DriveCollection(std::move(drives));
  }

  FolderPtr GetFolder(const std::wstring& path) override {
    disk_->Enter(Op::kGetFolder);
    const Node* node = disk_->Find(path);
    if (node == nullptr || !node->folder) {
      Fail(error::kPathNotFound);
    }
    if (node->unreachable) {
      Fail(error::kAccessDenied);
    }
    return std::make_shared<MemoryFolder>(disk_, Canonical(path), node->IsLink());
  }

  std::wstring FindEntry(const std::wstring& path, uint32_t mask) override {
    disk_->Enter(Op::kFindEntry);
    const auto [folder, pattern] = SplitLast(path);
    const Node* parent = folder.empty() ? nullptr : disk_->Find(folder);
    if (pattern.empty() || parent == nullptr || !parent->folder) {
      return L"";
    }
    if (parent->unlistable || parent->unreachable) {
      Fail(error::kAccessDenied);
    }
    const Node* listed = parent->IsLink() ? disk_->Find(parent->linkTarget) : parent;
    for (const auto& child : listed ? listed->children : parent->children) {
      const bool admitted =
          ((child->attributes & attribute::kHidden) == 0 || (mask & attribute::kHidden) != 0) &&
          ((child->attributes & attribute::kSystem) == 0 || (mask & attribute::kSystem) != 0) &&
          (!child->folder || (mask & attribute::kDirectory) != 0);
      if (admitted && Matches(pattern, child->name)) {
        return child->name;
      }
    }
    return L"";
  }

  void DeleteFile(const std::wstring& path, bool force) override {
    disk_->Enter(Op::kDeleteFile);
    Node& file = ExistingFile(path);
    if ((file.attributes & attribute::kReadOnly) != 0 && !force) {
      Fail(error::kAccessDenied);
    }
    if (file.inUse) {
      Fail(error::kSharingViolation);
    }
    Release(path, file.content.size());
    Detach(file);
  }

  void CopyFile(const std::wstring& source, const std::wstring& destination,
                bool overwrite) override {
    disk_->Enter(Op::kCopyFile);
    const Node& from = ExistingFile(source);
    if (from.inUse) {
      Fail(error::kSharingViolation);
    }
    const auto [folder, name] = SplitLast(destination);
    Node& parent = ExistingFolder(folder);
    Node* to = parent.Child(name);
    if (to != nullptr) {
      if (to->folder || (to->attributes & (attribute::kHidden | attribute::kReadOnly)) != 0) {
        Fail(error::kAccessDenied);  // Windows refuses these targets even with overwrite
      }
      if (!overwrite) {
        Fail(kFileExists);
      }
      if (to->inUse) {
        Fail(error::kSharingViolation);
      }
    }
    // The copy needs room for the new content while the old one is still there: a failed copy
    // leaves no partial file, as CopyFileW removes its incomplete destination.
    Claim(destination, from.content.size());
    if (to == nullptr) {
      to = &Attach(parent, name, false);
    } else {
      Release(destination, to->content.size());
    }
    to->content = from.content;
    to->attributes = from.attributes | attribute::kArchive;
  }

  void ReplaceFile(const std::wstring& source, const std::wstring& destination) override {
    disk_->Enter(Op::kReplaceFile);
    Node& from = ExistingFile(source);
    const auto [folder, name] = SplitLast(destination);
    Node& parent = ExistingFolder(folder);
    if (UpperCase(source.substr(0, 2)) != UpperCase(destination.substr(0, 2))) {
      Fail(kNotSameDevice);
    }
    Node* to = parent.Child(name);
    if (from.inUse || (to != nullptr && to->inUse)) {
      Fail(error::kSharingViolation);
    }
    if (to != nullptr &&
        (to->folder || (to->attributes & (attribute::kHidden | attribute::kSystem)) != 0)) {
      Fail(error::kAccessDenied);
    }
    std::unique_ptr<Node> moved = Take(from);
    moved->Rename(name);
    moved->parent = &parent;
    if (to == nullptr) {
      parent.children.push_back(std::move(moved));
      return;
    }
    Release(destination, to->content.size());
    for (auto& child : parent.children) {
      if (child.get() == to) {
        child = std::move(moved);  // keeps the target's place in the listing
      }
    }
  }

 private:
  // The path as stored on disk, whatever case the caller used.
  std::wstring Canonical(const std::wstring& path) const {
    const std::vector<std::wstring> parts = Split(path);
    std::wstring result = parts[0] + L":\\";
    const Node* node = disk_->Find(result);
    for (size_t i = 1; i < parts.size(); ++i) {
      node = node->IsLink() ? disk_->Find(node->linkTarget) : node;
      node = node->Child(parts[i]);
      result = Join(result, node->name);
    }
    return result;
  }

  Node& ExistingFile(const std::wstring& path) {
    Node* node = disk_->Find(path);
    if (node == nullptr) {
      Fail(error::kFileNotFound);
    }
    if (node->folder) {
      Fail(error::kAccessDenied);
    }
    return *node;
  }

  Node& ExistingFolder(const std::wstring& path) {
    Node* node = path.empty() ? nullptr : disk_->Find(path);
    if (node == nullptr || !node->folder) {
      Fail(error::kPathNotFound);
    }
    return *node;
  }

  static Node& Attach(Node& parent, const std::wstring& name, bool folder) {
    auto node = std::make_unique<Node>();
    node->Rename(name);
    node->folder = folder;
    node->parent = &parent;
    parent.children.push_back(std::move(node));
    return *parent.children.back();
  }

  static std::unique_ptr<Node> Take(Node& node) {
    auto& siblings = node.parent->children;
    auto it = std::find_if(siblings.begin(), siblings.end(),
                           [&](const auto& child) { return child.get() == &node; });
    std::unique_ptr<Node> taken = std::move(*it);
    siblings.erase(it);
    return taken;
  }

  static void Detach(Node& node) { Take(node); }

  void Claim(const std::wstring& path, uint64_t bytes) {
    uint64_t& free = disk_->FreeSpace(path[0]);
    if (bytes > free) {
      Fail(error::kDiskFull);
    }
    free -= bytes;
  }
  void Release(const std::wstring& path, uint64_t bytes) { disk_->FreeSpace(path[0]) += bytes; }

  std::shared_ptr<MemoryDisk> disk_;
};

}  // namespace

MemoryDisk::MemoryDisk() : root_(std::make_unique<Node>()) {}
MemoryDisk::~MemoryDisk() = default;

std::shared_ptr<MemoryDisk> MemoryDisk::Create() {
  return std::make_shared<MemoryDisk>();
}

FileSystemPtr NewMemoryFileSystem(const std::shared_ptr<MemoryDisk>& disk) {
  return std::make_shared<MemoryFileSystem>(disk);
}

void MemoryDisk::AddDrive(wchar_t letter, int32_t type) {
  Node& drive = Ensure(std::wstring(1, letter) + L":\\", true, 0);
  drive.driveType = type;
}

void MemoryDisk::AddFolder(const std::wstring& path, uint32_t attributes) {
  Ensure(path, true, attributes);
}

void MemoryDisk::AddFile(const std::wstring& path, const std::string& content,
                         uint32_t attributes) {
  Node& file = Ensure(path, false, attributes);
  file.content = content;
}

void MemoryDisk::AddLink(const std::wstring& path, const std::wstring& target) {
  Node& link = Ensure(path, true, attribute::kReparsePoint);
  link.linkTarget = target;
}

void MemoryDisk::Remove(const std::wstring& path) {
  Node& node = Existing(path);
  auto& siblings = node.parent->children;
  siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                              [&](const auto& child) { return child.get() == &node; }));
}

void MemoryDisk::SetAttributes(const std::wstring& path, uint32_t attributes) {
  Existing(path).attributes = attributes;
}

void MemoryDisk::SetDriveReadable(wchar_t letter, bool readable) {
  Existing(std::wstring(1, letter) + L":\\").readable = readable;
}

void MemoryDisk::SetFreeSpace(wchar_t letter, uint64_t bytes) {
  freeSpace_[static_cast<wchar_t>(UpperCase(std::wstring(1, letter))[0])] = bytes;
}

void MemoryDisk::SetUnlistable(const std::wstring& path, bool unlistable) {
  Existing(path).unlistable = unlistable;
}

void MemoryDisk::SetUnreachable(const std::wstring& path, bool unreachable) {
  Existing(path).unreachable = unreachable;
}

void MemoryDisk::SetInUse(const std::wstring& path, bool inUse) {
  Existing(path).inUse = inUse;
}

uint64_t& MemoryDisk::FreeSpace(wchar_t letter) {
  const auto drive = static_cast<wchar_t>(UpperCase(std::wstring(1, letter))[0]);
  return freeSpace_.try_emplace(drive, UINT64_MAX / 2).first->second;
}

bool MemoryDisk::Exists(const std::wstring& path) const {
  return Find(path) != nullptr;
}

std::optional<std::string> MemoryDisk::Content(const std::wstring& path) const {
  const Node* node = Find(path);
  if (node == nullptr || node->folder) {
    return std::nullopt;
  }
  return node->content;
}

uint32_t MemoryDisk::Attributes(const std::wstring& path) const {
  const Node& node = Existing(path);
  return node.attributes | (node.folder ? attribute::kDirectory : 0);
}

std::vector<std::wstring> MemoryDisk::List(const std::wstring& folder) const {
  std::vector<std::wstring> names;
  for (const auto& child : Existing(folder).children) {
    names.push_back(child->name);
  }
  return names;
}

void MemoryDisk::FailNthCall(int64_t n, uint32_t error) {
  nthCallFault_ = std::make_pair(calls_ + n, error);
}

void MemoryDisk::FailNthCall(Op op, int64_t n, uint32_t error) {
  opFaults_[op] = std::make_pair(Calls(op) + n, error);
}

void MemoryDisk::ClearFaults() {
  nthCallFault_.reset();
  opFaults_.clear();
}

int64_t MemoryDisk::Calls(Op op) const {
  const auto it = opCalls_.find(op);
  return it == opCalls_.end() ? 0 : it->second;
}

int64_t MemoryDisk::DirectoryReads(const std::wstring& folder) const {
  const auto it = readsByFolder_.find(UpperCase(folder));
  return it == readsByFolder_.end() ? 0 : it->second;
}

void MemoryDisk::Enter(Op op) {
  ++calls_;
  const int64_t opCall = ++opCalls_[op];
  if (nthCallFault_ && nthCallFault_->first == calls_) {
    const uint32_t error = nthCallFault_->second;
    nthCallFault_.reset();
    Fail(error);
  }
  const auto it = opFaults_.find(op);
  if (it != opFaults_.end() && it->second.first == opCall) {
    const uint32_t error = it->second.second;
    opFaults_.erase(it);
    Fail(error);
  }
}

MemoryDisk::Node* MemoryDisk::Find(const std::wstring& path) const {
  const std::vector<std::wstring> parts = Split(path);
  if (parts.empty()) {
    return nullptr;
  }
  Node* node = root_->Child(parts[0]);
  if (node != nullptr && !node->readable) {
    Fail(error::kNotReady);
  }
  for (size_t i = 1; node != nullptr && i < parts.size(); ++i) {
    if (node->IsLink()) {
      node = Find(node->linkTarget);
      if (node == nullptr) {
        return nullptr;
      }
    }
    node = node->Child(parts[i]);
  }
  return node;
}

void MemoryDisk::CountDirectoryRead(const std::wstring& folder) {
  ++directoryReads_;
  ++readsByFolder_[UpperCase(folder)];
}

MemoryDisk::Node& MemoryDisk::Existing(const std::wstring& path) const {
  Node* node = Find(path);
  if (node == nullptr) {
    Fail(error::kPathNotFound);
  }
  return *node;
}

MemoryDisk::Node& MemoryDisk::Ensure(const std::wstring& path, bool asFolder, uint32_t attributes) {
  const std::vector<std::wstring> parts = Split(path);
  if (parts.empty()) {
    Fail(error::kPathNotFound);
  }
  Node* node = root_.get();
  for (size_t i = 0; i < parts.size(); ++i) {
    Node* child = node->Child(parts[i]);
    if (child == nullptr) {
      auto created = std::make_unique<Node>();
      created->Rename(i == 0 ? UpperCase(parts[0]) : parts[i]);
      created->parent = node;
      node->children.push_back(std::move(created));
      child = node->children.back().get();
    }
    node = child;
  }
  node->folder = asFolder;
  node->attributes = attributes;
  return *node;
}

}  // namespace docrecover::testing
