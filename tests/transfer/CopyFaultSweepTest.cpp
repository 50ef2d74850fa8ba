// Fails each service call of a copy in turn and checks that no document is ever lost.

#include <algorithm>
#include <optional>

#include "TransferFixture.h"
#include "transfer/CopyAllFiles.h"

namespace docrecover {
namespace {

constexpr uint32_t kInjected = 1117;

struct Document {
  std::wstring name;
  std::optional<uint32_t> oldAttributes;  // none: the package has no such file
};

// In listing order: a plain, a read-only, an absent, a system and a hidden target. The hidden one
// is refused by the overwrite copy, so even the clean run ends with an error there.
const std::vector<Document> kDocuments = {
    {L"plain.doc", 0u},
    {L"readonly.doc", attribute::kReadOnly},
    {L"absent.doc", std::nullopt},
    {L"system.doc", attribute::kSystem},
    {L"hidden.doc", attribute::kHidden},
};

std::string NewContent(const std::wstring& name) {
  return "new " + std::string(name.begin(), name.end());
}
std::string OldContent(const std::wstring& name) {
  return "old " + std::string(name.begin(), name.end());
}

struct SweepBed : TransferBed {
  SweepBed() {
    for (const Document& document : kDocuments) {
      disk->AddFile(Doc(document.name), NewContent(document.name));
      if (document.oldAttributes) {
        disk->AddFile(Pkg(document.name), OldContent(document.name), *document.oldAttributes);
      }
    }
    disk->AddFile(Pkg(L"other.doc"), "other");
  }

  uint32_t Copy() {
    return ErrorOf(
        [this] { CopyAllFiles(*testing::NewMemoryFileSystem(disk), Recorder(), kDocs, kPackage); });
  }
};

int64_t CleanRunCalls() {
  SweepBed clean;
  const int64_t before = clean.disk->Calls();
  EXPECT_EQ(clean.Copy(), error::kAccessDenied);
  return clean.disk->Calls() - before;
}

TEST(CopyFaultSweepTest, NoDocumentIsLostWhateverCallFails) {
  const int64_t calls = CleanRunCalls();
  ASSERT_GT(calls, 20);
  for (int64_t n = 1; n <= calls; ++n) {
    SCOPED_TRACE("failing call " + std::to_string(n) + " of " + std::to_string(calls));
    SweepBed run;
    run.disk->FailNthCall(n, kInjected);

    ASSERT_EQ(run.Copy(), kInjected);

    // Documents shown before the last one shown were handled completely; the last one shown may
    // or may not have been; those never shown were not touched.
    const size_t handled = run.shown.empty() ? 0 : run.shown.size() - 1;
    for (size_t i = 0; i < kDocuments.size(); ++i) {
      const Document& document = kDocuments[i];
      SCOPED_TRACE(std::string(document.name.begin(), document.name.end()));
      const std::optional<std::string> content = run.disk->Content(Pkg(document.name));
      const std::optional<std::string> oldContent =
          document.oldAttributes ? std::optional(OldContent(document.name)) : std::nullopt;
      const bool isNew = content == NewContent(document.name);
      const bool isOld =
          content == oldContent &&
          (!content || run.disk->Attributes(Pkg(document.name)) == *document.oldAttributes);
      if (i < handled) {
        EXPECT_TRUE(isNew);
      } else if (i == handled) {
        EXPECT_TRUE(isNew || isOld);
      } else {
        EXPECT_TRUE(isOld);
      }
    }
    EXPECT_EQ(run.disk->Content(Pkg(L"other.doc")), "other");
    const std::vector<std::wstring> names = run.disk->List(kPackage);
    EXPECT_EQ(std::count_if(names.begin(), names.end(),
                            [](const std::wstring& name) {
                              return name.find(L".docrecover-tmp") != std::wstring::npos;
                            }),
              0);
  }
}

}  // namespace
}  // namespace docrecover
