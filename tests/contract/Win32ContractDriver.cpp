#include <windows.h>
#undef DeleteFile
#undef CopyFile
#undef MoveFile
#undef ReplaceFile

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
  ~Win32ContractDriver() override { RemoveTree(root_); }

  FileSystemService& Service() override { return *service_; }
  std::wstring Root() const override { return root_; }

  void MakeFolder(const std::wstring& path, uint32_t attributes) override {
    Check(CreateDirectoryW(Long(path).c_str(), /*lpSecurityAttributes=*/nullptr),
          "CreateDirectoryW");
    SetMarks(path, attributes);
  }

  void MakeFile(const std::wstring& path, const std::string& content,
                uint32_t attributes) override {
    HANDLE file = CreateFileW(Long(path).c_str(), GENERIC_WRITE, /*dwShareMode=*/0,
                              /*lpSecurityAttributes=*/nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                              /*hTemplateFile=*/nullptr);
    Check(file != INVALID_HANDLE_VALUE, "CreateFileW");
    DWORD written = 0;
    const bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written,
                              /*lpOverlapped=*/nullptr);
    CloseHandle(file);
    Check(ok, "WriteFile");
    SetMarks(path, attributes);
  }

  bool MakeLink(const std::wstring& path, const std::wstring& target) override {
    // Wine 8 answers success and makes nothing: only a link that is there counts.
    return CreateSymbolicLinkW(Long(path).c_str(), Long(target).c_str(),
                               SYMBOLIC_LINK_FLAG_DIRECTORY) != 0 &&
           GetFileAttributesW(Long(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  std::optional<std::string> Content(const std::wstring& path) override {
    HANDLE file = CreateFileW(Long(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                              /*lpSecurityAttributes=*/nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, /*hTemplateFile=*/nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      return std::nullopt;
    }
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, /*lpOverlapped=*/nullptr) && read > 0) {
      content.append(buffer, read);
    }
    CloseHandle(file);
    return content;
  }

 private:
  static void SetMarks(const std::wstring& path, uint32_t attributes) {
    if (attributes != 0) {
      Check(SetFileAttributesW(Long(path).c_str(), attributes), "SetFileAttributesW");
    }
  }

  static void RemoveTree(const std::wstring& path) {
    const std::wstring longPath = Long(path);
    SetFileAttributesW(longPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    const DWORD attributes = GetFileAttributesW(longPath.c_str());
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
      WIN32_FIND_DATAW data;
      HANDLE find = FindFirstFileW((longPath + L"\\*").c_str(), &data);
      if (find != INVALID_HANDLE_VALUE) {
        do {
          const std::wstring name = data.cFileName;
          if (name != L"." && name != L"..") {
            RemoveTree(path + L"\\" + name);
          }
        } while (FindNextFileW(find, &data));
        FindClose(find);
      }
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      RemoveDirectoryW(longPath.c_str());
    } else {
      DeleteFileW(longPath.c_str());
    }
  }

  std::wstring root_;
  FileSystemPtr service_ = win32::NewWin32FileSystem();
};

}  // namespace

std::unique_ptr<ContractDriver> NewContractDriver() {
  return std::make_unique<Win32ContractDriver>();
}

}  // namespace docrecover::testing
