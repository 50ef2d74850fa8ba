#include <windows.h>
// <windows.h> renames these to their W forms; the service's members keep their own names.
#undef DeleteFile
#undef CopyFile
#undef MoveFile
#undef ReplaceFile

#include "platform/win32/Win32FileSystem.h"

#include <iterator>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/win32/Win32Error.h"

namespace docrecover::win32 {

namespace {

constexpr wchar_t kLongPrefix[] = L"\\\\?\\";
constexpr wchar_t kLongUncPrefix[] = L"\\\\?\\UNC\\";

constexpr DWORD kAdmittedByMask =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.rfind(prefix, 0) == 0;
}

bool IsDriveRoot(const std::wstring& path) {
  return path.size() == 3 && path[1] == L':' && path[2] == L'\\';
}

// folder, a backslash unless it ends with one, and name, in one allocation.
std::wstring Join(const std::wstring& folder, std::wstring_view name) {
  const bool separated = !folder.empty() && folder.back() == L'\\';
  std::wstring path;
  path.reserve(folder.size() + 1 + name.size());
  path.append(folder);
  if (!separated) {
    path += L'\\';
  }
  path.append(name);
  return path;
}

bool IsDotEntry(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

// The full path as GetFullPathNameW makes it, in the ordinary form.
std::wstring FullPath(const std::wstring& path) {
  if (path.empty()) {
    throw Error(ERROR_PATH_NOT_FOUND);  // names nothing; the API's own answer varies
  }
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()),
                                          full.data(), /*lpFilePart=*/nullptr);
    if (length == 0) {
      throw LastError(path);
    }
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);  // too small: length is the size needed, with the terminating null
  }
}

// A folder's path as Path reports it: full, ordinary form, no trailing backslash but at a drive
// root. "C:" is the root of C, as the service's callers mean it, not C's working folder.
std::wstring FolderPath(const std::wstring& path) {
  std::wstring folder = OrdinaryForm(path);
  if (folder.size() == 2 && folder[1] == L':') {
    folder += L'\\';
  }
  folder = FullPath(folder);
  while (folder.size() > 1 && folder.back() == L'\\' && !IsDriveRoot(folder)) {
    folder.pop_back();
  }
  return folder;
}

// The "\\?\" form of a path that is already full and in the ordinary form, with tail appended,
// in one allocation. Only the prefix is added: the path is not made full again, so a name the
// listing gave is kept as it is, trailing dot or space included.
std::wstring LongFormOfFull(const std::wstring& full, std::wstring_view tail = {}) {
  std::wstring_view prefix;
  size_t kept = 0;  // where the part of full after the prefix begins
  if (StartsWith(full, kLongPrefix) || StartsWith(full, L"\\\\.\\")) {
    // already long (a volume path), or a device ("\\.\COM1"), which has no long form
  } else if (StartsWith(full, L"\\\\")) {
    prefix = kLongUncPrefix;
    kept = 2;
  } else {
    prefix = kLongPrefix;
  }
  std::wstring longForm;
  longForm.reserve(prefix.size() + full.size() - kept + tail.size());
  longForm.append(prefix).append(full, kept).append(tail);
  return longForm;
}

// What FindFirstFileExW gets for path: the folder part in long form, the last component as
// given, since making it full would change its wildcards ("*." would lose its dot).
std::wstring SearchPattern(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) {
    return path;  // a bare name: the API resolves it in the working folder
  }
  return LongForm(path.substr(0, slash + 1)) + path.substr(slash + 1);
}

// Owns a find handle.
class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  ~FindHandle() {
    if (valid()) {
      FindClose(handle_);
    }
  }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// Calls visit for every entry that FindFirstFileExW lists for pattern (as the system gets it)
// but "." and "..", until visit returns false. Nothing matching is no failure (an empty drive
// root has not even "." and ".."); other failures throw, naming path.
template <class Visit>
void ForEachEntry(const std::wstring& pattern, const std::wstring& path, DWORD flags, Visit visit) {
  WIN32_FIND_DATAW data;
  FindHandle find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                   /*lpSearchFilter=*/nullptr, flags));
  if (!find.valid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) {
      return;
    }
    throw Error(error, path);
  }
  do {
    if (!IsDotEntry(data.cFileName) && !visit(data)) {
      return;
    }
  } while (FindNextFileW(find.get(), &data));
  if (GetLastError() != ERROR_NO_MORE_FILES) {
    throw LastError(path);
  }
}

class FileListing;

// One file of a listing: where its name lies in the listing's text.
class Win32File final : public File {
 public:
  Win32File(const FileListing& listing, size_t nameStart, size_t nameLength)
      : listing_(&listing), nameStart_(nameStart), nameLength_(nameLength) {}

  std::wstring Path() const override {
    std::wstring path;
    PathInto(path);
    return path;
  }
  std::wstring Name() const override { return std::wstring(NameView()); }
  void PathInto(std::wstring& text) const override;
  void NameInto(std::wstring& text) const override { text.assign(NameView()); }

 private:
  std::wstring_view NameView() const;

  const FileListing* listing_;
  size_t nameStart_;
  size_t nameLength_;
};

// The files of one listing, allocated together: one text holds the folder's path with its
// backslash once, then every file's name, and the file objects lie side by side in one array.
// A file handed out shares the listing's life, so the text lives as long as any file is held; a
// search thus costs a few allocations per folder and none per file.
class FileListing {
 public:
  explicit FileListing(const std::wstring& folder) {
    text_.reserve(folder.size() + 1 + kNameRoom);
    text_ = folder;
    if (text_.empty() || text_.back() != L'\\') {
      text_ += L'\\';
    }
    folderLength_ = text_.size();
    files_.reserve(kFileRoom);
  }
  FileListing(const FileListing&) = delete;
  FileListing& operator=(const FileListing&) = delete;

  void Add(std::wstring_view name) {
    files_.emplace_back(*this, text_.size(), name.size());
    text_.append(name);
  }

  // Handles to every file, each sharing ownership of listing.
  static std::vector<FilePtr> Files(const std::shared_ptr<FileListing>& listing) {
    std::vector<FilePtr> files;
    files.reserve(listing->files_.size());
    for (Win32File& file : listing->files_) {
      files.emplace_back(listing, &file);
    }
    return files;
  }

  std::wstring_view Folder() const { return std::wstring_view(text_).substr(0, folderLength_); }
  std::wstring_view Text(size_t start, size_t length) const {
    return std::wstring_view(text_).substr(start, length);
  }

 private:
  // Room for the names and files of a typical folder, so that one allocation each holds them.
  static constexpr size_t kNameRoom = 16 * 24;
  static constexpr size_t kFileRoom = 16;

  std::wstring text_;
  size_t folderLength_ = 0;
  std::vector<Win32File> files_;
};

std::wstring_view Win32File::NameView() const {
  return listing_->Text(nameStart_, nameLength_);
}

void Win32File::PathInto(std::wstring& text) const {
  const std::wstring_view folder = listing_->Folder();
  text.clear();
  text.reserve(folder.size() + nameLength_);
  text.append(folder).append(NameView());
}

class Win32Folder : public Folder {
 public:
  Win32Folder(std::wstring path, bool isLink) : path_(std::move(path)), isLink_(isLink) {}

  std::wstring Path() const override { return path_; }
  bool IsLink() const override { return isLink_; }

  FolderCollection SubFolders() override {
    if (!foldersPending_) {
      Read();
    }
    foldersPending_ = false;
    return FolderCollection(std::move(folders_));
  }

  FileCollection Files() override {
    if (!filesPending_) {
      Read();
    }
    filesPending_ = false;
    return FileCollection(std::move(files_));
  }

 private:
  static constexpr size_t kFolderRoom = 16;

  // One listing fills both parts; each is kept only until it is handed out.
  void Read() {
    std::vector<FolderPtr> folders;
    std::shared_ptr<FileListing> files;
    const std::wstring pattern =
        LongFormOfFull(path_, !path_.empty() && path_.back() == L'\\' ? L"*" : L"\\*");
    ForEachEntry(pattern, path_, FIND_FIRST_EX_LARGE_FETCH, [&](const WIN32_FIND_DATAW& data) {
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        if (folders.empty()) {
          folders.reserve(kFolderRoom);  // one allocation for a typical folder's subfolders
        }
        folders.push_back(std::make_shared<Win32Folder>(
            Join(path_, data.cFileName), IsLinkFolder(data.dwFileAttributes, data.dwReserved0)));
      } else {
        if (!files) {
          files = std::make_shared<FileListing>(path_);
        }
        files->Add(data.cFileName);
      }
      return true;
    });
    folders_ = std::move(folders);
    files_ = files ? FileListing::Files(files) : std::vector<FilePtr>{};
    foldersPending_ = true;
    filesPending_ = true;
  }

  std::wstring path_;
  bool isLink_;
  // The parts of the last listing not yet handed out; a handed-out part is empty.
  std::vector<FolderPtr> folders_;
  std::vector<FilePtr> files_;
  bool foldersPending_ = false;
  bool filesPending_ = false;
};

// The reparse tag of the entry at path, as the listing of its folder gives it.
DWORD ReparseTag(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  FindHandle find(FindFirstFileExW(LongForm(path).c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, /*lpSearchFilter=*/nullptr, /*flags=*/0));
  if (!find.valid()) {
    throw LastError(path);
  }
  return data.dwReserved0;
}

FolderPtr OpenFolder(const std::wstring& path) {
  const std::wstring folder = FolderPath(path);
  const DWORD attributes = GetFileAttributesW(LongForm(folder).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    throw LastError(folder);
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    throw Error(ERROR_PATH_NOT_FOUND, folder);
  }
  // Only a listing gives the reparse tag. A drive root is never a link, and cannot be listed as
  // an entry of its own.
  const bool isLink = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && !IsDriveRoot(folder) &&
                      IsLinkFolder(attributes, ReparseTag(folder));
  return std::make_shared<Win32Folder>(folder, isLink);
}

// The service's drive type code for a GetDriveTypeW value.
int32_t DriveTypeCode(unsigned win32DriveType) {
  switch (win32DriveType) {
    case DRIVE_REMOVABLE:
      return drive_type::kRemovable;
    case DRIVE_FIXED:
      return drive_type::kFixed;
    case DRIVE_REMOTE:
      return drive_type::kNetwork;
    case DRIVE_CDROM:
      return drive_type::kCdRom;
    case DRIVE_RAMDISK:
      return drive_type::kRamDisk;
    default:  // DRIVE_UNKNOWN, DRIVE_NO_ROOT_DIR
      return drive_type::kUnknown;
  }
}

class Win32Drive : public Drive {
 public:
  explicit Win32Drive(wchar_t letter) : letter_(letter) {}

  int32_t DriveType() const override { return DriveTypeCode(GetDriveTypeW(Root().c_str())); }
  std::wstring DriveLetter() const override { return std::wstring(1, letter_); }
  FolderPtr RootFolder() const override { return OpenFolder(Root()); }

 private:
  std::wstring Root() const { return std::wstring(1, letter_) + L":\\"; }

  wchar_t letter_;
};

// Clears the read-only mark of the file at path for as long as it lives, unless Keep() or Restore()
// is called.
// A file that cannot be read has nothing to clear: the operation that follows reports why.
class ReadOnlyLift {
 public:
  explicit ReadOnlyLift(const std::wstring& path)
      : path_(LongForm(path)), attributes_(GetFileAttributesW(path_.c_str())) {
    if (attributes_ != INVALID_FILE_ATTRIBUTES && (attributes_ & FILE_ATTRIBUTE_READONLY) != 0) {
      if (!SetFileAttributesW(path_.c_str(), attributes_ & ~FILE_ATTRIBUTE_READONLY)) {
        throw LastError(path);
      }
      lifted_ = true;
    }
  }
  ReadOnlyLift(const ReadOnlyLift&) = delete;
  ReadOnlyLift& operator=(const ReadOnlyLift&) = delete;
  // Restores the mark: the operation it was lifted for failed. A restore that fails too cannot
  // be reported over the failure that brought us here.
  ~ReadOnlyLift() {
    if (lifted_) {
      SetFileAttributesW(path_.c_str(), attributes_);
    }
  }
  // The file is gone or replaced: nothing to restore.
  void Keep() { lifted_ = false; }
  // The operation is done and the file stays: the mark goes back, and failing that is reported.
  void Restore() {
    if (lifted_ && !SetFileAttributesW(path_.c_str(), attributes_)) {
      throw LastError(path_);
    }
    lifted_ = false;
  }

 private:
  std::wstring path_;
  DWORD attributes_;
  bool lifted_ = false;
};

// CopyFileExW's progress routine: passes each report on to the CopyProgress in data.
DWORD CALLBACK ReportProgress(LARGE_INTEGER /*totalFileSize*/, LARGE_INTEGER /*totalBytes*/,
                              LARGE_INTEGER /*streamSize*/, LARGE_INTEGER /*streamBytes*/,
                              DWORD /*streamNumber*/, DWORD /*callbackReason*/, HANDLE /*source*/,
                              HANDLE /*destination*/, LPVOID data) {
  (*static_cast<const CopyProgress*>(data))();
  return PROGRESS_CONTINUE;
}

class Win32FileSystem : public FileSystemService {
 public:
  DriveCollection Drives() override {
    SetLastError(ERROR_SUCCESS);
    const DWORD mask = GetLogicalDrives();
    if (mask == 0 && GetLastError() != ERROR_SUCCESS) {
      throw LastError(L"GetLogicalDrives");  // not "no drives", which the caller would report
    }
    std::vector<DrivePtr> drives;
    for (int i = 0; i < 26; ++i) {
      if ((mask & (1u << i)) != 0) {
        drives.push_back(std::make_shared<Win32Drive>(static_cast<wchar_t>(L'A' + i)));
      }
    }
    return DriveCollection(std::move(drives));
  }

  FolderPtr GetFolder(const std::wstring& path) override { return OpenFolder(path); }

  std::wstring FindEntry(const std::wstring& path, uint32_t mask) override {
    std::wstring found;
    try {
      ForEachEntry(SearchPattern(path), path, /*flags=*/0, [&](const WIN32_FIND_DATAW& data) {
        if ((data.dwFileAttributes & kAdmittedByMask & ~mask) != 0) {
          return true;
        }
        found = data.cFileName;
        return false;
      });
    } catch (const PlatformError& failure) {
      // A folder on the way that is missing or is a file, or a name that cannot exist, matches
      // nothing. Anything else (a drive not ready, access denied) is a real failure.
      if (failure.Number() != ERROR_PATH_NOT_FOUND && failure.Number() != ERROR_INVALID_NAME &&
          failure.Number() != ERROR_DIRECTORY) {
        throw;
      }
    }
    return found;
  }

  void DeleteFile(const std::wstring& path, bool force) override {
    std::optional<ReadOnlyLift> lift;
    if (force) {
      lift.emplace(path);
    }
    if (!DeleteFileW(LongForm(path).c_str())) {
      throw LastError(path);
    }
    if (lift) {
      lift->Keep();
    }
  }

  void CopyFile(const std::wstring& source, const std::wstring& destination, bool overwrite,
                const CopyProgress& onProgress) override {
    if (!CopyFileExW(LongForm(source).c_str(), LongForm(destination).c_str(),
                     onProgress ? &ReportProgress : nullptr, const_cast<CopyProgress*>(&onProgress),
                     /*pbCancel=*/nullptr, overwrite ? 0 : COPY_FILE_FAIL_IF_EXISTS)) {
      throw LastError(source + L" -> " + destination);
    }
  }

  void FlushFile(const std::wstring& path) override {
    // Windows opens no read-only file for writing, and flushing needs a handle that writes.
    ReadOnlyLift lift(path);
    const HANDLE file = CreateFileW(LongForm(path).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    /*lpSecurityAttributes=*/nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, /*hTemplateFile=*/nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      throw LastError(path);
    }
    const bool flushed = FlushFileBuffers(file);
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (!flushed) {
      throw Error(error, path);
    }
    lift.Restore();
  }

  void ReplaceFile(const std::wstring& source, const std::wstring& destination) override {
    // MoveFileExW moves a folder over a file as readily as a file, and the file would be lost:
    // only a file may take the target's place.
    const DWORD sourceAttributes = GetFileAttributesW(LongForm(source).c_str());
    if (sourceAttributes == INVALID_FILE_ATTRIBUTES) {
      throw LastError(source);
    }
    if ((sourceAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      throw Error(ERROR_ACCESS_DENIED, source);
    }
    // MoveFileExW refuses a read-only target; the replacement is a new file, so the mark only
    // needs restoring when the move fails. Without MOVEFILE_COPY_ALLOWED the move stays on one
    // volume and is a single rename.
    ReadOnlyLift lift(destination);
    // Written through: the rename is on the disk before the call returns, as the caller relies on.
    if (!MoveFileExW(LongForm(source).c_str(), LongForm(destination).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      throw LastError(source + L" -> " + destination);
    }
    lift.Keep();
  }
};

}  // namespace

bool IsLinkFolder(uint32_t attributes, uint32_t reparseTag) {
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsLinkTag(reparseTag);
}

std::wstring LongForm(const std::wstring& path) {
  return StartsWith(path, kLongPrefix) ? path : LongFormOfFull(FullPath(path));
}

std::wstring OrdinaryForm(const std::wstring& path) {
  if (StartsWith(path, kLongUncPrefix)) {
    return L"\\\\" + path.substr(std::size(kLongUncPrefix) - 1);
  }
  // Only a drive path has an ordinary form; "\\?\Volume{...}\" and the like keep their prefix,
  // since without it they would be taken as relative paths.
  const size_t rest = std::size(kLongPrefix) - 1;
  if (StartsWith(path, kLongPrefix) && path.size() > rest + 1 && path[rest + 1] == L':') {
    return path.substr(rest);
  }
  return path;
}

FileSystemPtr NewWin32FileSystem() {
  return std::make_shared<Win32FileSystem>();
}

}  // namespace docrecover::win32
