#include "platform/win32/Win32Listing.h"

#include <utility>
#include <vector>

#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Paths.h"

namespace docrecover::win32 {

namespace {

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

}  // namespace

bool IsLinkFolder(uint32_t attributes, uint32_t reparseTag) {
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsLinkTag(reparseTag);
}

FolderPtr OpenFolder(const std::wstring& path) {
  const std::wstring folder = FolderPath(path);
  const DWORD attributes = GetFileAttributesW(LongFormOfFull(folder).c_str());
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

DrivePtr NewWin32Drive(wchar_t letter) {
  return std::make_shared<Win32Drive>(letter);
}

}  // namespace docrecover::win32
