// The Win32 service where the contract suite cannot reach it: the drive type mapping, the path
// forms, links (made from the Linux side by stage_links.sh, a CTest fixture) and error texts.

#include <windows.h>
#undef DeleteFile
#undef CopyFile
#undef MoveFile
#undef ReplaceFile

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/PlatformError.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32FileSystem.h"

namespace docrecover::win32 {
namespace {

// Staged by stage_links.sh: real\doc.txt, real\loop -> real, link -> real.
const std::wstring kLinks = L"C:\\win32fs-links";

TEST(Win32DriveTypes, MapToTheServiceCodes) {
  const std::pair<unsigned, int32_t> rows[] = {
      {DRIVE_UNKNOWN, drive_type::kUnknown},     {DRIVE_NO_ROOT_DIR, drive_type::kUnknown},
      {DRIVE_REMOVABLE, drive_type::kRemovable}, {DRIVE_FIXED, drive_type::kFixed},
      {DRIVE_REMOTE, drive_type::kNetwork},      {DRIVE_CDROM, drive_type::kCdRom},
      {DRIVE_RAMDISK, drive_type::kRamDisk},     {99, drive_type::kUnknown},
  };
  for (const auto& [win32Type, code] : rows) {
    EXPECT_EQ(DriveTypeCode(win32Type), code) << "GetDriveTypeW value " << win32Type;
  }
}

TEST(Win32PathForms, LongFormIsFullAndOrdinaryFormUndoesIt) {
  const std::pair<const wchar_t*, const wchar_t*> longForms[] = {
      {L"C:\\a\\b", L"\\\\?\\C:\\a\\b"},
      {L"C:\\", L"\\\\?\\C:\\"},
      {L"C:/a/./b/../c", L"\\\\?\\C:\\a\\c"},  // the "\\?\" form would take these literally
      {L"\\\\server\\share\\x", L"\\\\?\\UNC\\server\\share\\x"},
      {L"\\\\?\\C:\\kept as given", L"\\\\?\\C:\\kept as given"},
  };
  for (const auto& [path, expected] : longForms) {
    EXPECT_EQ(LongForm(path), expected) << path;
  }
  const std::pair<const wchar_t*, const wchar_t*> ordinaryForms[] = {
      {L"\\\\?\\C:\\a", L"C:\\a"},
      {L"\\\\?\\UNC\\server\\share\\x", L"\\\\server\\share\\x"},
      {L"C:\\a", L"C:\\a"},
      {L"\\\\server\\share", L"\\\\server\\share"},
      // No ordinary form: without its prefix the path would name a folder under the working one.
      {L"\\\\?\\Volume{0a1b2c3d}\\docs", L"\\\\?\\Volume{0a1b2c3d}\\docs"},
      {L"\\\\?\\unix\\tmp\\docs", L"\\\\?\\unix\\tmp\\docs"},
  };
  for (const auto& [path, expected] : ordinaryForms) {
    EXPECT_EQ(OrdinaryForm(path), expected) << path;
  }
}

class Win32Links : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(GetFileAttributesW((kLinks + L"\\link").c_str()), INVALID_FILE_ATTRIBUTES)
        << "stage_links.sh makes " << kLinks << "; run these tests through ctest";
  }

  FileSystemPtr fs = NewWin32FileSystem();
};

TEST_F(Win32Links, AreReportedByTheListingAndByGetFolder) {
  const FolderPtr real = fs->GetFolder(kLinks + L"\\real");
  EXPECT_FALSE(real->IsLink());
  const FolderCollection subfolders = real->SubFolders();
  ASSERT_EQ(subfolders.Count(), 1);
  const FolderPtr loop = *subfolders.begin();
  EXPECT_EQ(loop->Path(), kLinks + L"\\real\\loop");
  EXPECT_TRUE(loop->IsLink());
  EXPECT_EQ(real->Files().Count(), 1);
  EXPECT_TRUE(fs->GetFolder(kLinks + L"\\real\\loop")->IsLink());
  EXPECT_TRUE(fs->GetFolder(kLinks + L"\\link")->IsLink());
  EXPECT_EQ(fs->FindEntry(kLinks + L"\\l*", attribute::kDirectory), L"link");  // still a folder
}

TEST_F(Win32Links, GetFolderReportsOneOrdinaryPathForEveryFormOfIt) {
  const std::wstring expected = kLinks + L"\\real";
  for (const std::wstring& form : {expected + L"\\", std::wstring(L"C:/win32fs-links/real"),
                                   kLinks + L"\\link\\..\\real", L"\\\\?\\" + expected}) {
    EXPECT_EQ(fs->GetFolder(form)->Path(), expected) << form;
  }
}

TEST(Win32Errors, CarryTheNumberTheSystemTextAndWhatFailed) {
  const FileSystemPtr fs = NewWin32FileSystem();
  const std::wstring missing = L"C:\\win32fs-missing\\file.txt";
  const std::function<void()> calls[] = {
      [&] { fs->GetFolder(missing); },
      [&] { fs->DeleteFile(missing, true); },
      [&] { fs->CopyFile(missing, missing + L".copy", true); },
      [&] { fs->ReplaceFile(missing, missing + L".new"); },
  };
  for (const auto& call : calls) {
    try {
      call();
      ADD_FAILURE() << "no failure";
    } catch (const PlatformError& failure) {
      EXPECT_TRUE(failure.Number() == ERROR_FILE_NOT_FOUND ||
                  failure.Number() == ERROR_PATH_NOT_FOUND)
          << failure.Number();
      const std::wstring& message = failure.Message();
      EXPECT_EQ(message.rfind(SystemMessage(failure.Number()), 0), 0u) << message;
      EXPECT_NE(message.find(missing), std::wstring::npos) << message;
      EXPECT_EQ(message.find_first_of(L"\r\n"), std::wstring::npos) << message;
    }
  }
}

}  // namespace
}  // namespace docrecover::win32
