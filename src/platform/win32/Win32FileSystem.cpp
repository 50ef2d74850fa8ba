#include <windows.h>
// <windows.h> renames these to their W forms; the service's members keep their own names.
#undef DeleteFile
#undef CopyFile
#undef MoveFile
#undef ReplaceFile

#include "platform/win32/Win32FileSystem.h"

#include <utility>
#include <vector>

#include "platform/win32/Win32Error.h"

namespace docrecover::win32 {

namespace {

constexpr DWORD kAdmittedByMask =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  return !folder.empty() && folder.back() == L'\\' ? folder + name : folder + L'\\' + name;
}

bool IsDotEntry(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

// Backslashes only, no trailing backslash but at a drive root, and "C:" as "C:\".
std::wstring FolderPath(std::wstring path) {
  for (wchar_t& c : path) {
    if (c == L'/') {
      c = L'\\';
    }
  }
  while (path.size() > 1 && path.back() == L'\\' && !(path.size() == 3 && path[1] == L':')) {
    path.pop_back();
  }
  if (path.size() == 2 && path[1] == L':') {
    path += L'\\';
  }
  return path;
}

// Owns a find handle.
class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  ~FindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) {
      FindClose(handle_);
    }
  }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// Calls visit for every entry matching pattern but "." and "..", until visit returns false.
// Nothing matching is no failure; other failures throw.
template <class Visit>
void ForEachEntry(const std::wstring& pattern, DWORD flags, Visit visit) {
  WIN32_FIND_DATAW data;
  FindHandle find(FindFirstFileExW(LongForm(pattern).c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, /*lpSearchFilter=*/nullptr, flags));
  if (!find.valid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) {
      return;
    }
    throw Error(error);
  }
  do {
    if (!IsDotEntry(data.cFileName) && !visit(data)) {
      return;
    }
  } while (FindNextFileW(find.get(), &data));
  if (GetLastError() != ERROR_NO_MORE_FILES) {
    throw LastError();
  }
}

class Win32File : public File {
 public:
  Win32File(std::wstring path, std::wstring name)
      : path_(std::move(path)), name_(std::move(name)) {}
  std::wstring Path() const override { return path_; }
  std::wstring Name() const override { return name_; }

 private:
  std::wstring path_;
  std::wstring name_;
};

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
  // One listing fills both parts; each is kept only until it is handed out.
  void Read() {
    std::vector<FolderPtr> folders;
    std::vector<FilePtr> files;
    ForEachEntry(Join(path_, L"*"), FIND_FIRST_EX_LARGE_FETCH, [&](const WIN32_FIND_DATAW& data) {
      std::wstring childPath = Join(path_, data.cFileName);
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        folders.push_back(std::make_shared<Win32Folder>(
            std::move(childPath), (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0));
      } else {
        files.push_back(std::make_shared<Win32File>(std::move(childPath), data.cFileName));
      }
      return true;
    });
    folders_ = std::move(folders);
    files_ = std::move(files);
    foldersPending_ = true;
    filesPending_ = true;
  }

  std::wstring path_;
  bool isLink_;
  std::vector<FolderPtr> folders_;
  std::vector<FilePtr> files_;
  bool foldersPending_ = false;
  bool filesPending_ = false;
};

FolderPtr OpenFolder(const std::wstring& path) {
  const std::wstring folder = FolderPath(path);
  const DWORD attributes = GetFileAttributesW(LongForm(folder).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    throw LastError();
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    throw Error(ERROR_PATH_NOT_FOUND);
  }
  return std::make_shared<Win32Folder>(folder, (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0);
}

class Win32Drive : public Drive {
 public:
  explicit Win32Drive(wchar_t letter) : letter_(letter) {}

  int32_t DriveType() const override {
    const wchar_t root[] = {letter_, L':', L'\\', 0};
    return DriveTypeCode(GetDriveTypeW(root));
  }
  std::wstring DriveLetter() const override { return std::wstring(1, letter_); }
  FolderPtr RootFolder() const override { return OpenFolder(std::wstring(1, letter_) + L":\\"); }

 private:
  wchar_t letter_;
};

// Clears the read-only mark of path for as long as it lives, unless Keep() is called.
class ReadOnlyLift {
 public:
  explicit ReadOnlyLift(const std::wstring& path)
      : path_(LongForm(path)), attributes_(GetFileAttributesW(path_.c_str())) {
    lifted_ = attributes_ != INVALID_FILE_ATTRIBUTES &&
              (attributes_ & FILE_ATTRIBUTE_READONLY) != 0 &&
              SetFileAttributesW(path_.c_str(), attributes_ & ~FILE_ATTRIBUTE_READONLY);
  }
  ReadOnlyLift(const ReadOnlyLift&) = delete;
  ReadOnlyLift& operator=(const ReadOnlyLift&) = delete;
  // Restores the mark: the operation it was lifted for failed.
  ~ReadOnlyLift() {
    if (lifted_) {
      SetFileAttributesW(path_.c_str(), attributes_);
    }
  }
  // The file is gone or replaced: nothing to restore.
  void Keep() { lifted_ = false; }

 private:
  std::wstring path_;
  DWORD attributes_;
  bool lifted_ = false;
};

class Win32FileSystem : public FileSystemService {
 public:
  DriveCollection Drives() override {
    std::vector<DrivePtr> drives;
    const DWORD mask = GetLogicalDrives();
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
      ForEachEntry(path, /*flags=*/0, [&](const WIN32_FIND_DATAW& data) {
        if ((data.dwFileAttributes & kAdmittedByMask & ~mask) != 0) {
          return true;
        }
        found = data.cFileName;
        return false;
      });
    } catch (const PlatformError& failure) {
      // A folder on the way that does not exist, or a name that cannot exist, matches nothing.
      if (failure.Number() != ERROR_PATH_NOT_FOUND && failure.Number() != ERROR_INVALID_NAME &&
          failure.Number() != ERROR_BAD_NETPATH) {
        throw;
      }
    }
    return found;
  }

  void DeleteFile(const std::wstring& path, bool force) override {
    std::unique_ptr<ReadOnlyLift> lift;
    if (force) {
      lift = std::make_unique<ReadOnlyLift>(path);
    }
    if (!DeleteFileW(LongForm(path).c_str())) {
      throw LastError();
    }
    if (lift) {
      lift->Keep();
    }
  }

  void CopyFile(const std::wstring& source, const std::wstring& destination,
                bool overwrite) override {
    if (!CopyFileW(LongForm(source).c_str(), LongForm(destination).c_str(),
                   /*bFailIfExists=*/!overwrite)) {
      throw LastError();
    }
  }

  void ReplaceFile(const std::wstring& source, const std::wstring& destination) override {
    ReadOnlyLift lift(destination);
    if (!MoveFileExW(LongForm(source).c_str(), LongForm(destination).c_str(),
                     MOVEFILE_REPLACE_EXISTING)) {
      throw LastError();
    }
    lift.Keep();
  }
};

}  // namespace

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
    default:
      return drive_type::kUnknown;
  }
}

std::wstring LongForm(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\", 0) == 0) {
    return path;
  }
  if (path.rfind(L"\\\\", 0) == 0) {
    return L"\\\\?\\UNC\\" + path.substr(2);
  }
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') {
    return L"\\\\?\\" + path;
  }
  return path;  // not absolute: the API resolves it as given
}

FileSystemPtr NewWin32FileSystem() {
  return std::make_shared<Win32FileSystem>();
}

}  // namespace docrecover::win32
