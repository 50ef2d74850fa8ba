#include <gtest/gtest.h>

#include <utility>

#include "discovery/GetFixedDrives.h"
#include "discovery/MergePathLists.h"
#include "platform/PlatformError.h"
#include "support/MemoryFileSystem.h"

namespace docrecover {
namespace {

using testing::MemoryDisk;
using testing::NewMemoryFileSystem;
using testing::Op;

TEST(GetFixedDrivesTest, KeepsOnlyFixedDrivesInCollectionOrder) {
  const std::vector<std::pair<std::vector<std::pair<wchar_t, int32_t>>, StringList>> cases = {
      {{{L'C', drive_type::kFixed}}, {L"C"}},
      {{{L'A', drive_type::kRemovable},
        {L'E', drive_type::kFixed},
        {L'F', drive_type::kCdRom},
        {L'C', drive_type::kFixed},
        {L'Z', drive_type::kNetwork},
        {L'R', drive_type::kRamDisk},
        {L'U', drive_type::kUnknown},
        {L'D', drive_type::kFixed}},
       {L"E", L"C", L"D"}},
      {{{L'A', drive_type::kRemovable}, {L'E', drive_type::kCdRom}, {L'Z', drive_type::kNetwork}},
       {}},
      {{}, {}},
  };
  for (const auto& [drives, expected] : cases) {
    SCOPED_TRACE(::testing::PrintToString(expected));
    const auto disk = MemoryDisk::Create();
    for (const auto& [letter, type] : drives) {
      disk->AddDrive(letter, type);
    }
    const StringList letters = GetFixedDrives(*NewMemoryFileSystem(disk));
    EXPECT_EQ(letters, expected);
    EXPECT_EQ(ArrayCount(letters), static_cast<int32_t>(expected.size()));
  }
}

TEST(GetFixedDrivesTest, OnlyTheTypeDecides) {
  const auto disk = MemoryDisk::Create();
  disk->AddDrive(L'C');
  disk->AddDrive(L'D');
  disk->SetDriveReadable(L'D', false);  // no media, not ready: still a fixed drive

  EXPECT_EQ(GetFixedDrives(*NewMemoryFileSystem(disk)), (StringList{L"C", L"D"}));
  EXPECT_EQ(disk->Calls(Op::kRootFolder), 0);
}

TEST(GetFixedDrivesTest, FailuresPassToTheCaller) {
  for (const Op op : {Op::kDrives, Op::kDriveType, Op::kDriveLetter}) {
    const auto disk = MemoryDisk::Create();
    disk->AddDrive(L'C');
    disk->AddDrive(L'D');
    disk->FailNthCall(op, op == Op::kDrives ? 1 : 2, error::kAccessDenied);
    EXPECT_THROW(GetFixedDrives(*NewMemoryFileSystem(disk)), PlatformError);
  }
}

TEST(MergePathListsTest, FirstThenSecondKeepingDuplicates) {
  const StringList a = {L"C:\\A\\ZEMO.exe", L"C:\\B\\ZEMO.exe"};
  const std::vector<std::tuple<StringList, StringList, StringList>> cases = {
      {{}, {}, {}},
      {{}, a, a},
      {{L"C:\\A\\ZEMO.exe"}, {}, {L"C:\\A\\ZEMO.exe"}},
      {{L"P", L"Q"}, {L"Q", L"R"}, {L"P", L"Q", L"Q", L"R"}},
  };
  for (const auto& [first, second, expected] : cases) {
    const StringList merged = MergePathLists(first, second);
    EXPECT_EQ(merged, expected);
    EXPECT_EQ(ArrayCount(merged), static_cast<int32_t>(expected.size()));
  }
}

}  // namespace
}  // namespace docrecover
