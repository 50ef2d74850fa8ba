#include "platform/win32/Win32FileSystem.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/win32/Win32Listing.h"
#include "platform/win32/Win32Paths.h"
#include "platform/win32/Win32Sha256.h"

namespace docrecover::win32 {

namespace {

constexpr DWORD kAdmittedByMask =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

// Makes attempt, a call that returns whether it succeeded and leaves the thread's last error set
// when it did not. Windows refuses some calls on a read-only file with access denied (opening it
// for writing, renaming over it, deleting it), where Wine as root lets them through. On that
// refusal, when the file at path is read-only, the mark is lifted and attempt made once more; the
// mark goes back when that fails too, and after it succeeds when restore is set (the file stays).
// A failure throws, naming context. Looking at the marks only after a refusal spares every
// ordinary call an attribute read.
template <class Attempt>
void LiftingReadOnly(const std::wstring& path, bool restore, const std::wstring& context,
                     Attempt attempt) {
  if (attempt()) {
    return;
  }
  const DWORD refusal = GetLastError();
  const std::wstring longPath = LongForm(path);
  const DWORD marks = refusal == ERROR_ACCESS_DENIED ? GetFileAttributesW(longPath.c_str())
                                                     : INVALID_FILE_ATTRIBUTES;
  if (marks == INVALID_FILE_ATTRIBUTES || (marks & FILE_ATTRIBUTE_READONLY) == 0) {
    throw Error(refusal, context);
  }
  if (!SetFileAttributesW(longPath.c_str(), marks & ~FILE_ATTRIBUTE_READONLY)) {
    throw LastError(path);
  }
  if (!attempt()) {
    const PlatformError failure = LastError(context);
    // A restore that fails too cannot be reported over the failure that brought us here.
    SetFileAttributesW(longPath.c_str(), marks);
    throw failure;
  }
  if (restore && !SetFileAttributesW(longPath.c_str(), marks)) {
    throw LastError(path);
  }
}

// CopyFileExW's progress routine: passes each report on to the CopyProgress in data, and
// cancels the copy when it says so. Windows calls it from its own frames, which no exception may
// cross; noexcept makes a CopyProgress that throws end the program at once instead.
DWORD CALLBACK ReportProgress(LARGE_INTEGER /*totalFileSize*/, LARGE_INTEGER /*totalBytes*/,
                              LARGE_INTEGER /*streamSize*/, LARGE_INTEGER /*streamBytes*/,
                              DWORD /*streamNumber*/, DWORD /*callbackReason*/, HANDLE /*source*/,
                              HANDLE /*destination*/, LPVOID data) noexcept {
  return (*static_cast<const CopyProgress*>(data))() ? PROGRESS_CONTINUE : PROGRESS_CANCEL;
}

class Win32FileReader final : public FileReader {
 public:
  Win32FileReader(HANDLE file, uint64_t size, std::wstring path)
      : file_(file), size_(size), path_(std::move(path)) {}
  Win32FileReader(const Win32FileReader&) = delete;
  Win32FileReader& operator=(const Win32FileReader&) = delete;
  ~Win32FileReader() override { CloseHandle(file_); }

  uint64_t Size() const override { return size_; }
  size_t Read(std::span<std::byte> buffer) override {
    DWORD read = 0;
    const auto wanted = static_cast<DWORD>(std::min<size_t>(buffer.size(), 1u << 30));
    if (!ReadFile(file_, buffer.data(), wanted, &read, /*lpOverlapped=*/nullptr)) {
      throw LastError(path_);
    }
    return read;
  }

 private:
  HANDLE file_;
  uint64_t size_;
  std::wstring path_;
};

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
        drives.push_back(NewWin32Drive(static_cast<wchar_t>(L'A' + i)));
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
    const std::wstring longPath = LongForm(path);
    const auto remove = [&] { return DeleteFileW(longPath.c_str()) != FALSE; };
    if (!force) {
      if (!remove()) {
        throw LastError(path);
      }
      return;
    }
    LiftingReadOnly(path, /*restore=*/false, path, remove);
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
    // Flushing needs a handle that writes, and Windows opens no read-only file for writing: the
    // mark is lifted for the flush and put back.
    const std::wstring longPath = LongForm(path);
    LiftingReadOnly(path, /*restore=*/true, path, [&] {
      const HANDLE file = CreateFileW(longPath.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      /*lpSecurityAttributes=*/nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, /*hTemplateFile=*/nullptr);
      if (file == INVALID_HANDLE_VALUE) {
        return false;
      }
      const bool flushed = FlushFileBuffers(file);
      const DWORD error = GetLastError();
      CloseHandle(file);
      SetLastError(error);
      return flushed;
    });
  }

  void ReplaceFile(const std::wstring& source, const std::wstring& destination) override {
    // MoveFileExW moves a folder over a file as readily as a file under Wine, and the file would
    // be lost: only a file may take the target's place.
    const std::wstring longSource = LongForm(source);
    const DWORD sourceAttributes = GetFileAttributesW(longSource.c_str());
    if (sourceAttributes == INVALID_FILE_ATTRIBUTES) {
      throw LastError(source);
    }
    if ((sourceAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      throw Error(ERROR_ACCESS_DENIED, source);
    }
    // Windows' rename refuses a read-only target, and only that mark: hidden and system files are
    // replaced. The replacement is a new file, so a lifted mark needs restoring only when the
    // move fails. Without MOVEFILE_COPY_ALLOWED the move stays on one volume and is a single
    // rename; written through, it is on the disk before the call returns.
    const std::wstring longDestination = LongForm(destination);
    LiftingReadOnly(destination, /*restore=*/false, source + L" -> " + destination, [&] {
      return MoveFileExW(longSource.c_str(), longDestination.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    });
  }

  std::unique_ptr<FileReader> OpenForReading(const std::wstring& path) override {
    // Shared for reading only: nobody writes to the file while it is read.
    const HANDLE file = CreateFileW(LongForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    /*lpSecurityAttributes=*/nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN, /*hTemplateFile=*/nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      throw LastError(path);
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size)) {
      const PlatformError failure = LastError(path);
      CloseHandle(file);
      throw failure;
    }
    return std::make_unique<Win32FileReader>(file, static_cast<uint64_t>(size.QuadPart), path);
  }

  std::unique_ptr<Sha256> NewSha256() override { return NewCryptoApiSha256(); }
};

}  // namespace

FileSystemPtr NewWin32FileSystem() {
  return std::make_shared<Win32FileSystem>();
}

}  // namespace docrecover::win32
