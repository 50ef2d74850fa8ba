#include <windows.h>
#undef DeleteFile
#undef CopyFile
#undef MoveFile
#undef ReplaceFile

#include <gtest/gtest.h>

#include <stdexcept>

#include "ContractDriver.h"
#include "platform/win32/Win32FileSystem.h"

namespace docrecover::testing {

namespace {

// The driver's own "\\?\" form, so that it does not lean on the code under test. Every path
// here is an absolute drive path under the temporary folder.
std::wstring Long(const std::wstring& path) {
  return L"\\\\?\\" + path;
}

void Check(bool ok, const char* what) {
  if (!ok) {
    throw std::runtime_error(std::string(what) + " failed: " + std::to_string(GetLastError()));
  }
}

// Owns a file handle.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (valid()) {
      CloseHandle(handle_);
    }
  }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

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

// Real files in a fresh folder under the temporary folder, removed with the driver.
class Win32ContractDriver : public ContractDriver {
 public:
  Win32ContractDriver() {
    wchar_t temp[MAX_PATH + 1];
    Check(GetTempPathW(MAX_PATH + 1, temp) != 0, "GetTempPathW");
    root_ = std::wstring(temp) + L"contract-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount());
    Check(CreateDirectoryW(Long(root_).c_str(), /*lpSecurityAttributes=*/nullptr),
          "CreateDirectoryW");
  }
  // A scratch folder left behind would pile up in the prefix: a case that leaves one fails.
  ~Win32ContractDriver() override {
    try {
      RemoveTree(root_);
    } catch (const std::exception& failure) {
      ADD_FAILURE() << "removing the scratch folder: " << failure.what();
    }
  }

  FileSystemService& Service() override { return *service_; }
  std::wstring Root() const override { return root_; }

  void MakeFolder(const std::wstring& path, uint32_t attributes) override {
    Check(CreateDirectoryW(Long(path).c_str(), /*lpSecurityAttributes=*/nullptr),
          "CreateDirectoryW");
    SetMarks(path, attributes);
  }

  void MakeFile(const std::wstring& path, const std::string& content,
                uint32_t attributes) override {
    {
      FileHandle file(CreateFileW(Long(path).c_str(), GENERIC_WRITE, /*dwShareMode=*/0,
                                  /*lpSecurityAttributes=*/nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, /*hTemplateFile=*/nullptr));
      Check(file.valid(), "CreateFileW");
      DWORD written = 0;
      Check(WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written,
                      /*lpOverlapped=*/nullptr) &&
                written == content.size(),
            "WriteFile");
    }
    SetMarks(path, attributes);  // once closed: a read-only mark would not stop this handle
  }

  bool MakeLink(const std::wstring& path, const std::wstring& target) override {
    // Wine 8 answers success and makes nothing: only a link that is there counts.
    return CreateSymbolicLinkW(Long(path).c_str(), Long(target).c_str(),
                               /*dwFlags=*/SYMBOLIC_LINK_FLAG_DIRECTORY) != 0 &&
           GetFileAttributesW(Long(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  std::optional<std::string> Content(const std::wstring& path) override {
    FileHandle file(CreateFileW(Long(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                /*lpSecurityAttributes=*/nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, /*hTemplateFile=*/nullptr));
    if (!file.valid()) {
      return std::nullopt;
    }
    std::string content;
    char buffer[4096];
    for (;;) {
      DWORD read = 0;
      Check(ReadFile(file.get(), buffer, sizeof buffer, &read, /*lpOverlapped=*/nullptr),
            "ReadFile");
      if (read == 0) {
        return content;
      }
      content.append(buffer, read);
    }
  }

 private:
  static void SetMarks(const std::wstring& path, uint32_t attributes) {
    if (attributes != 0) {
      Check(SetFileAttributesW(Long(path).c_str(), attributes), "SetFileAttributesW");
    }
  }

  // Removes path and, for a real folder, everything in it; a link is removed, not entered.
  static void RemoveTree(const std::wstring& path) {
    const std::wstring longPath = Long(path);
    const DWORD attributes = GetFileAttributesW(longPath.c_str());
    Check(attributes != INVALID_FILE_ATTRIBUTES, "GetFileAttributesW");
    Check(SetFileAttributesW(longPath.c_str(), FILE_ATTRIBUTE_NORMAL), "SetFileAttributesW");
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      Check(DeleteFileW(longPath.c_str()), "DeleteFileW");
      return;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
      WIN32_FIND_DATAW data;
      FindHandle find(FindFirstFileW((longPath + L"\\*").c_str(), &data));
      Check(find.valid(), "FindFirstFileW");
      do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") {
          RemoveTree(path + L"\\" + name);
        }
      } while (FindNextFileW(find.get(), &data));
      Check(GetLastError() == ERROR_NO_MORE_FILES, "FindNextFileW");
    }
    Check(RemoveDirectoryW(longPath.c_str()), "RemoveDirectoryW");
  }

  std::wstring root_;
  FileSystemPtr service_ = win32::NewWin32FileSystem();
};

}  // namespace

std::unique_ptr<ContractDriver> NewContractDriver() {
  return std::make_unique<Win32ContractDriver>();
}

}  // namespace docrecover::testing
