#include "transfer/DeleteAllFiles.h"

#include <ostream>

#include "TransferFixture.h"

namespace docrecover {
namespace {

using testing::Op;

class DeleteAllFilesTest : public TransferTest {
 protected:
  uint32_t Delete() {
    return ErrorOf([this] {
      DeleteAllFiles(*testing::NewMemoryFileSystem(disk), Recorder(), kDocs, kPackage);
    });
  }
};

TEST_F(DeleteAllFilesTest, DeletesPlainMatchesOnly) {
  for (const wchar_t* name : {L"plain.doc", L"readonly.doc", L"hidden.doc", L"system.doc",
                              L"folder.doc", L"nowhere.doc"}) {
    disk->AddFile(Doc(name), "new");
  }
  disk->AddFile(Doc(L"sub\\deep.doc"), "new");
  disk->AddFile(Pkg(L"PLAIN.DOC"), "old");
  disk->AddFile(Pkg(L"readonly.doc"), "old", attribute::kReadOnly);
  disk->AddFile(Pkg(L"hidden.doc"), "old", attribute::kHidden);
  disk->AddFile(Pkg(L"system.doc"), "old", attribute::kSystem);
  disk->AddFile(Pkg(L"folder.doc\\plain.doc"), "old");
  disk->AddFile(Pkg(L"sub\\deep.doc"), "old");
  disk->AddFile(Pkg(L"other.doc"), "old");

  EXPECT_EQ(Delete(), 0u);

  EXPECT_EQ(shown, (std::vector<std::wstring>{L"plain.doc", L"readonly.doc", L"hidden.doc",
                                              L"system.doc", L"folder.doc", L"nowhere.doc"}));
  EXPECT_EQ(disk->List(kPackage), (std::vector<std::wstring>{L"hidden.doc", L"system.doc",
                                                             L"folder.doc", L"sub", L"other.doc"}));
  EXPECT_TRUE(disk->Exists(Pkg(L"folder.doc\\plain.doc")));
  EXPECT_TRUE(disk->Exists(Pkg(L"sub\\deep.doc")));
  EXPECT_EQ(disk->List(kDocs).size(), 7u);
}

TEST_F(DeleteAllFilesTest, SourceWithoutFilesDeletesNothing) {
  disk->AddFile(Doc(L"sub\\a.doc"), "new");
  disk->AddFile(Pkg(L"a.doc"), "old");

  EXPECT_EQ(Delete(), 0u);

  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(disk->Calls(Op::kDeleteFile), 0);
}

struct DeleteFailureCase {
  const char* what;
  std::function<void(testing::MemoryDisk&)> arrange;
  uint32_t error;
  std::vector<std::wstring> left;  // the package's names afterwards
};
void PrintTo(const DeleteFailureCase& c, std::ostream* os) {
  *os << c.what;
}

class DeleteFailure : public DeleteAllFilesTest,
                      public ::testing::WithParamInterface<DeleteFailureCase> {};

TEST_P(DeleteFailure, StopsAtTheFirstFailingCall) {
  disk->AddFile(Doc(L"a.doc"), "new");
  disk->AddFile(Doc(L"b.doc"), "new");
  disk->AddFile(Doc(L"c.doc"), "new");
  disk->AddFile(Pkg(L"a.doc"), "old");
  disk->AddFile(Pkg(L"b.doc"), "old");
  disk->AddFile(Pkg(L"c.doc"), "old");
  GetParam().arrange(*disk);

  EXPECT_EQ(Delete(), GetParam().error);

  EXPECT_EQ(disk->List(kPackage), GetParam().left);
}

INSTANTIATE_TEST_SUITE_P(Conditions, DeleteFailure,
                         ::testing::Values(DeleteFailureCase{"MissingSource",
                                                             [](auto& d) { d.Remove(kDocs); },
                                                             error::kPathNotFound,
                                                             {L"a.doc", L"b.doc", L"c.doc"}},
                                           DeleteFailureCase{
                                               "TargetInUse",
                                               [](auto& d) { d.SetInUse(Pkg(L"b.doc")); },
                                               error::kSharingViolation,
                                               {L"b.doc", L"c.doc"}}),
                         [](const auto& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace docrecover
