#include "transfer/CopyAllFiles.h"

#include <algorithm>
#include <ostream>

#include "TransferFixture.h"

namespace docrecover {
namespace {

using testing::Op;

class CopyAllFilesTest : public TransferTest {
 protected:
  uint32_t Copy() {
    return ErrorOf(
        [this] { CopyAllFiles(*testing::NewMemoryFileSystem(disk), Recorder(), kDocs, kPackage); });
  }
  bool TemporaryLeft() const {
    const auto names = disk->List(kPackage);
    return std::any_of(names.begin(), names.end(), [](const std::wstring& name) {
      return name.find(L".docrecover-tmp") != std::wstring::npos;
    });
  }
};

TEST_F(CopyAllFilesTest, ReplacesPlainAndReadOnlyTargetsAndAddsAbsentOnes) {
  disk->AddFile(Doc(L"a.doc"), "new a");
  disk->AddFile(Doc(L"b.doc"), "new b");
  disk->AddFile(Doc(L"c.doc"), "new c");
  disk->AddFile(Doc(L"sub\\d.doc"), "new d");
  disk->AddFile(Pkg(L"a.doc"), "old a");
  disk->AddFile(Pkg(L"B.DOC"), "old b", attribute::kReadOnly);
  disk->AddFile(Pkg(L"keep.doc"), "keep");

  EXPECT_EQ(Copy(), 0u);

  EXPECT_EQ(shown, (std::vector<std::wstring>{L"a.doc", L"b.doc", L"c.doc"}));
  EXPECT_EQ(disk->List(kPackage),
            (std::vector<std::wstring>{L"a.doc", L"b.doc", L"keep.doc", L"c.doc"}));
  EXPECT_EQ(disk->Content(Pkg(L"a.doc")), "new a");
  EXPECT_EQ(disk->Content(Pkg(L"b.doc")), "new b");
  EXPECT_EQ(disk->Content(Pkg(L"c.doc")), "new c");
  EXPECT_EQ(disk->Content(Pkg(L"keep.doc")), "keep");
  EXPECT_EQ(disk->List(kDocs), (std::vector<std::wstring>{L"a.doc", L"b.doc", L"c.doc", L"sub"}));
}

TEST_F(CopyAllFilesTest, SourceWithoutFilesTouchesNothing) {
  disk->AddFile(Doc(L"sub\\a.doc"), "new a");
  disk->AddFile(Pkg(L"a.doc"), "old a");

  EXPECT_EQ(Copy(), 0u);

  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(disk->Calls(Op::kCopyFile) + disk->Calls(Op::kReplaceFile), 0);
  EXPECT_EQ(disk->Content(Pkg(L"a.doc")), "old a");
}

TEST_F(CopyAllFilesTest, MissingFolderFailsBeforeAnyFileIsTouched) {
  disk->AddFile(Doc(L"a.doc"), "new a");
  for (const std::wstring& missing : {kDocs, kPackage}) {
    SCOPED_TRACE(missing);
    disk->Remove(missing);
    EXPECT_EQ(Copy(), error::kPathNotFound);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(disk->Calls(Op::kCopyFile), 0);
    disk->AddFile(Doc(L"a.doc"), "new a");
    disk->AddFolder(kPackage);
  }
}

// A name held by a hidden or system file or by a folder goes to the platform's overwrite copy,
// which here refuses hidden files and folders as Windows does; its refusal ends the operation.
struct OccupiedCase {
  const char* what;
  uint32_t attributes;
  bool folder;
  uint32_t error;
};
void PrintTo(const OccupiedCase& c, std::ostream* os) {
  *os << c.what;
}

class CopyOverOccupiedName : public CopyAllFilesTest,
                             public ::testing::WithParamInterface<OccupiedCase> {};

TEST_P(CopyOverOccupiedName, GoesToTheOverwriteCopy) {
  const OccupiedCase& c = GetParam();
  disk->AddFile(Doc(L"a.doc"), "new a");
  disk->AddFile(Doc(L"b.doc"), "new b");
  if (c.folder) {
    disk->AddFile(Pkg(L"a.doc\\inside.doc"), "inside");
  } else {
    disk->AddFile(Pkg(L"a.doc"), "old a", c.attributes);
  }

  EXPECT_EQ(Copy(), c.error);

  EXPECT_EQ(disk->Calls(Op::kCopyFile), c.error == 0 ? 2 : 1);
  EXPECT_EQ(disk->Content(Pkg(L"b.doc")).has_value(), c.error == 0);
  if (c.folder) {
    EXPECT_EQ(disk->Content(Pkg(L"a.doc\\inside.doc")), "inside");
  } else {
    EXPECT_EQ(disk->Content(Pkg(L"a.doc")), c.error == 0 ? "new a" : "old a");
  }
  EXPECT_FALSE(TemporaryLeft());
}

INSTANTIATE_TEST_SUITE_P(
    Targets, CopyOverOccupiedName,
    ::testing::Values(OccupiedCase{"Hidden", attribute::kHidden, false, error::kAccessDenied},
                      OccupiedCase{"System", attribute::kSystem, false, 0},
                      OccupiedCase{"Folder", 0, true, error::kAccessDenied}),
    [](const auto& info) { return std::string(info.param.what); });

// Failures at the second document: the first keeps its new copy, the second its old content, and
// no temporary file is left.
struct FailureCase {
  const char* what;
  std::function<void(testing::MemoryDisk&)> arrange;
  uint32_t error;
};
void PrintTo(const FailureCase& c, std::ostream* os) {
  *os << c.what;
}

class CopyFailure : public CopyAllFilesTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CopyFailure, KeepsTheOldDocument) {
  disk->AddFile(Doc(L"a.doc"), "new a");
  disk->AddFile(Doc(L"b.doc"), "the new b, longer than the free space");
  disk->AddFile(Pkg(L"a.doc"), "old a");
  disk->AddFile(Pkg(L"b.doc"), "old b", attribute::kReadOnly);
  GetParam().arrange(*disk);

  EXPECT_EQ(Copy(), GetParam().error);

  EXPECT_EQ(disk->Content(Pkg(L"a.doc")), "new a");
  EXPECT_EQ(disk->Content(Pkg(L"b.doc")), "old b");
  EXPECT_EQ(disk->Attributes(Pkg(L"b.doc")), attribute::kReadOnly);
  EXPECT_FALSE(TemporaryLeft());
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, CopyFailure,
    ::testing::Values(FailureCase{"DiskFull", [](auto& d) { d.SetFreeSpace(L'C', 10); },
                                  error::kDiskFull},
                      FailureCase{"SourceInUse", [](auto& d) { d.SetInUse(Doc(L"b.doc")); },
                                  error::kSharingViolation},
                      FailureCase{"TargetInUse", [](auto& d) { d.SetInUse(Pkg(L"b.doc")); },
                                  error::kSharingViolation}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(CopyAllFilesTest, FailedCleanupDoesNotHideTheErrorAndTheNextRunClearsTheLeftover) {
  constexpr uint32_t kReplaceError = 1001;
  disk->AddFile(Doc(L"a.doc"), "new a", attribute::kReadOnly);  // from a CD
  disk->AddFile(Pkg(L"a.doc"), "old a");
  disk->FailNthCall(Op::kReplaceFile, 1, kReplaceError);
  disk->FailNthCall(Op::kDeleteFile, 1, error::kAccessDenied);

  EXPECT_EQ(Copy(), kReplaceError);
  EXPECT_EQ(disk->Content(Pkg(L"a.doc")), "old a");
  ASSERT_TRUE(TemporaryLeft());

  EXPECT_EQ(Copy(), 0u);
  EXPECT_EQ(disk->Content(Pkg(L"a.doc")), "new a");
  EXPECT_FALSE(TemporaryLeft());
}

TEST_F(CopyAllFilesTest, FolderUnderTheTemporaryNameIsNotOurs) {
  disk->AddFile(Doc(L"a.doc"), "new a");
  disk->AddFile(Pkg(L"a.doc"), "old a");
  disk->AddFile(Pkg(L"~a.doc.docrecover-tmp\\kept.doc"), "kept");

  EXPECT_NE(Copy(), 0u);

  EXPECT_EQ(disk->Content(Pkg(L"a.doc")), "old a");
  EXPECT_EQ(disk->Content(Pkg(L"~a.doc.docrecover-tmp\\kept.doc")), "kept");
}

}  // namespace
}  // namespace docrecover
