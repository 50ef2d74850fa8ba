// The copy and the deletion on real files, through the Win32 service (run under Wine).

#include <windows.h>
#undef DeleteFile
#undef CopyFile
#undef MoveFile
#undef ReplaceFile

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/PlatformError.h"
#include "platform/win32/Win32FileSystem.h"
#include "transfer/CopyAllFiles.h"
#include "transfer/DeleteAllFiles.h"

namespace docrecover {
namespace {

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (handle_ != INVALID_HANDLE_VALUE) {
      CloseHandle(handle_);
    }
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

void WriteText(const std::wstring& path, const std::string& text, DWORD attributes = 0) {
  Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, /*dwShareMode=*/0,
                          /*lpSecurityAttributes=*/nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                          /*hTemplateFile=*/nullptr));
  ASSERT_TRUE(file.valid()) << GetLastError();
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written,
                        /*lpOverlapped=*/nullptr));
  if (attributes != 0) {
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), attributes));
  }
}

// The file's content, or "<absent>".
std::string ReadText(const std::wstring& path) {
  Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                          /*lpSecurityAttributes=*/nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                          /*hTemplateFile=*/nullptr));
  if (!file.valid()) {
    return "<absent>";
  }
  std::string text(4096, '\0');
  DWORD read = 0;
  EXPECT_TRUE(ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read,
                       /*lpOverlapped=*/nullptr));
  text.resize(read);
  return text;
}

// The names in a folder, "." and ".." left out.
std::vector<std::wstring> List(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) {
    return names;
  }
  do {
    const std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") {
      names.push_back(name);
    }
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return names;
}

void RemoveTree(const std::wstring& path) {
  for (const std::wstring& name : List(path)) {
    const std::wstring child = path + L"\\" + name;
    SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
    if ((GetFileAttributesW(child.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      RemoveTree(child);
    } else {
      DeleteFileW(child.c_str());
    }
  }
  RemoveDirectoryW(path.c_str());
}

std::wstring TestRoot() {
  wchar_t temp[MAX_PATH];
  const DWORD length = GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp, length) + L"docrecover-transfer-" +
         std::to_wstring(GetCurrentProcessId());
}

class TransferWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveTree(root);
    for (const std::wstring& folder : {root, docs, package}) {
      ASSERT_TRUE(CreateDirectoryW(folder.c_str(), /*lpSecurityAttributes=*/nullptr))
          << GetLastError();
    }
  }
  void TearDown() override { RemoveTree(root); }

  void Copy() { CopyAllFiles(*NewWin32FileSystem(), Recorder(), docs, package); }
  void Delete() { DeleteAllFiles(*NewWin32FileSystem(), Recorder(), docs, package); }
  std::function<void(const std::wstring&)> Recorder() {
    return [this](const std::wstring& text) { shown.push_back(text); };
  }
  std::wstring Doc(const std::wstring& name) const { return docs + L"\\" + name; }
  std::wstring Pkg(const std::wstring& name) const { return package + L"\\" + name; }

  const std::wstring root = TestRoot();
  const std::wstring docs = root + L"\\Docs";
  const std::wstring package = root + L"\\ZEMO";
  std::vector<std::wstring> shown;
};

const std::wstring kUnicodeName = L"\u00DCbersicht \u6587\u66F8 \u0416.doc";

TEST_F(TransferWin32Test, CopyReplacesReadOnlyTargetAndAddsUnicodeDocumentButNoSubfolder) {
  WriteText(Doc(L"a.doc"), "new a");
  WriteText(Doc(kUnicodeName), "new unicode");
  ASSERT_TRUE(CreateDirectoryW(Doc(L"sub").c_str(), /*lpSecurityAttributes=*/nullptr));
  WriteText(Doc(L"sub\\deep.doc"), "deep");
  WriteText(Pkg(L"a.doc"), "old a", FILE_ATTRIBUTE_READONLY);
  WriteText(Pkg(L"keep.doc"), "keep");

  ASSERT_NO_THROW(Copy());

  EXPECT_EQ(ReadText(Pkg(L"a.doc")), "new a");
  EXPECT_EQ(ReadText(Pkg(kUnicodeName)), "new unicode");
  EXPECT_EQ(ReadText(Pkg(L"keep.doc")), "keep");
  std::vector<std::wstring> names = List(package);
  std::sort(names.begin(), names.end());
  std::vector<std::wstring> expected = {L"a.doc", L"keep.doc", kUnicodeName};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
  EXPECT_EQ(shown.size(), 2u);
}

TEST_F(TransferWin32Test, CopyOfASourceHeldOpenLeavesTheOldTargetAndNoTemporaryFile) {
  WriteText(Doc(L"a.doc"), "new a");
  WriteText(Pkg(L"a.doc"), "old a", FILE_ATTRIBUTE_READONLY);
  const Handle held(CreateFileW(Doc(L"a.doc").c_str(), GENERIC_READ, /*dwShareMode=*/0,
                                /*lpSecurityAttributes=*/nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, /*hTemplateFile=*/nullptr));
  ASSERT_TRUE(held.valid()) << GetLastError();

  uint32_t number = 0;
  try {
    Copy();
  } catch (const PlatformError& error) {
    number = error.Number();
  }

  EXPECT_EQ(number, static_cast<uint32_t>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(ReadText(Pkg(L"a.doc")), "old a");
  EXPECT_EQ(List(package), std::vector<std::wstring>{L"a.doc"});
}

TEST_F(TransferWin32Test, DeletionSparesHiddenFilesAndSubfolders) {
  for (const wchar_t* name : {L"a.doc", L"ro.doc", L"hidden.doc", L"folder.doc"}) {
    WriteText(Doc(name), "new");
  }
  WriteText(Pkg(L"a.doc"), "old");
  WriteText(Pkg(L"ro.doc"), "old", FILE_ATTRIBUTE_READONLY);
  WriteText(Pkg(L"hidden.doc"), "old", FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(CreateDirectoryW(Pkg(L"folder.doc").c_str(), /*lpSecurityAttributes=*/nullptr));
  WriteText(Pkg(L"folder.doc\\a.doc"), "inside");
  ASSERT_TRUE(CreateDirectoryW(Pkg(L"sub").c_str(), /*lpSecurityAttributes=*/nullptr));
  WriteText(Pkg(L"sub\\a.doc"), "inside");

  ASSERT_NO_THROW(Delete());

  EXPECT_EQ(ReadText(Pkg(L"a.doc")), "<absent>");
  EXPECT_EQ(ReadText(Pkg(L"ro.doc")), "<absent>");
  EXPECT_EQ(ReadText(Pkg(L"hidden.doc")), "old");
  EXPECT_EQ(ReadText(Pkg(L"folder.doc\\a.doc")), "inside");
  EXPECT_EQ(ReadText(Pkg(L"sub\\a.doc")), "inside");
  EXPECT_EQ(shown.size(), 4u);
}

}  // namespace
}  // namespace docrecover
