// The copy and the deletion of documents between two folders of an in-memory disk.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "app/ScriptedDesktop.h"
#include "platform/PlatformError.h"
#include "transfer/CopyAllFiles.h"
#include "transfer/DeleteAllFiles.h"

namespace docrecover::testing {
namespace {

using Names = std::vector<std::wstring>;
const std::wstring kDocs = L"C:\\Docs";
const std::wstring kPackage = L"C:\\Z";
// The package's files of these names carry these marks.
const std::map<std::wstring, uint32_t> kMarks = {
    {L"ro", attribute::kReadOnly}, {L"xhid", attribute::kHidden}, {L"sys", attribute::kSystem}};

// The documents hold "new" (no documents folder when there are none), the package's files "old";
// a name with a backslash puts a file in a subfolder.
std::shared_ptr<MemoryDisk> Disk(const Names& docs, const Names& package) {
  auto disk = MemoryDisk::Create();
  for (const std::wstring& name : docs) {
    disk->AddFile(kDocs + L"\\" + name, "new", attribute::kReadOnly);  // from a CD
  }
  for (const std::wstring& name : package) {
    disk->AddFile(kPackage + L"\\" + name, "old", kMarks.contains(name) ? kMarks.at(name) : 0);
  }
  return disk;
}

// The window of the last operation; it records the message of the error that ended it last.
std::optional<ScriptedDesktop> view;

// Runs the operation in a new window. Gives the error it raised (0 for none), then the package
// folder, sorted: "name=content" for a file, "name\" for a folder.
Names Outcome(const std::shared_ptr<MemoryDisk>& disk, decltype(&CopyAllFiles) operation) {
  Names outcome = {L"error 0"};
  try {
    operation(*NewMemoryFileSystem(disk), view.emplace(), kDocs, kPackage);
  } catch (const PlatformError& failure) {
    outcome[0] = L"error " + std::to_wstring(failure.Number());
    view->Record(failure.Message());
  }
  for (const std::wstring& name : disk->List(kPackage)) {
    const auto content = disk->Content(kPackage + L"\\" + name);
    outcome.push_back(name +
                      (content ? L"=" + std::wstring(content->begin(), content->end()) : L"\\"));
  }
  std::sort(outcome.begin() + 1, outcome.end());
  return outcome;
}

TEST(Transfer, CopyAndDeletionTurnOneFolderStateIntoAnother) {
  // No documents folder at all.
  EXPECT_EQ(Outcome(Disk({}, {L"a"}), &CopyAllFiles), (Names{L"error 3", L"a=old"}));
  // The deletion removes plain and read-only files only, and nothing in subfolders.
  EXPECT_EQ(Outcome(Disk({L"a", L"ro", L"xhid", L"sys", L"dir", L"none", L"sub\\d"},
                         {L"a", L"ro", L"xhid", L"sys", L"dir\\a", L"sub\\d", L"keep"}),
                    &DeleteAllFiles),
            (Names{L"error 0", L"dir\\", L"keep=old", L"sub\\", L"sys=old", L"xhid=old"}));
}

// The copy replaces plain, read-only and system files, adds absent ones and skips subfolders; a
// hidden file it cannot replace ends it with the platform's refusal. Then every call of it fails in
// turn, and removing a temporary file after the failure is refused too. Each document is then old
// or new, never missing or partial; a temporary file is left only where its removal was refused;
// and a rerun finishes the copy. The power going after each call in turn blanks no document either
// (but one copied over a system file, which the platform's overwrite writes in place).
TEST(Transfer, CopyLosesNoDocumentWhicheverCallFails) {
  const Names docs = {L"a", L"ro", L"add", L"sys", L"sub\\d", L"xhid", L"z"};
  const Names package = {L"a", L"ro", L"sys", L"xhid", L"keep"};
  const Names done = {L"error 5", L"a=new",   L"add=new", L"keep=old",
                      L"ro=new",  L"sys=new", L"xhid=old"};
  const auto clean = Disk(docs, package);
  ASSERT_EQ(Outcome(clean, &CopyAllFiles), done);

  for (int64_t n = 1; n <= clean->Calls(); ++n) {
    SCOPED_TRACE("failing call " + std::to_string(n));
    const auto disk = Disk(docs, package);
    disk->FailNthCall(n, 1117);
    disk->FailNthCall(Op::kDeleteFile, 1, 1117);
    const Names outcome = Outcome(disk, &CopyAllFiles);
    EXPECT_EQ(outcome[0], L"error 1117");
    for (const wchar_t* name : {L"a", L"ro", L"sys", L"xhid", L"keep"}) {
      const auto content = disk->Content(kPackage + L"\\" + name);
      EXPECT_TRUE(content == "old" || content == "new") << name;
    }
    // Nothing else but the added document, or a temporary file whose removal was refused.
    EXPECT_TRUE(outcome.size() == 6u + disk->Content(kPackage + L"\\add").has_value() ||
                disk->Calls(Op::kDeleteFile) != 0);
    disk->ClearFaults();
    EXPECT_EQ(Outcome(disk, &CopyAllFiles), done);

    const auto cut = Disk(docs, package);
    cut->CutPowerAfter(n - 1);
    Outcome(cut, &CopyAllFiles);
    for (const wchar_t* name : {L"a", L"ro", L"add"}) {
      const auto content = cut->Content(kPackage + L"\\" + name);
      EXPECT_TRUE(content == "old" || content == "new" ||
                  (!content && name == std::wstring(L"add")))
          << name;
    }
  }
}

// A document another program holds is tried 20 times, 100 ms apart. Held for good, it is named in
// the report and stays as it was, with no temporary file beside it.
TEST(Transfer, AHeldDocumentIsWaitedForThenNamed) {
  for (const int64_t refusals : {19, 20}) {
    const auto disk = Disk({L"ro"}, {L"ro"});
    disk->Hold(kPackage + L"\\ro", refusals);
    disk->FailNthCall(Op::kDeleteFile, 1, error::kAccessDenied);  // the temporary file, a moment
    const Names outcome = Outcome(disk, &CopyAllFiles);
    EXPECT_EQ(std::count(view->events.begin(), view->events.end(), L"pause 100"), refusals);
    EXPECT_EQ(outcome,
              (refusals == 19 ? Names{L"error 0", L"ro=new"} : Names{L"error 32", L"ro=old"}));
    EXPECT_EQ(view->events.back().find(L"The document " + kPackage +
                                       L"\\ro could not be replaced. "
                                       L"Another program may be using it"),
              refusals == 19 ? std::wstring::npos : 0);
  }
  // A large document keeps the window alive while it is copied.
  const auto disk = Disk({L"big"}, {L"big"});
  disk->AddFile(kDocs + L"\\big", std::string(200 * 1024, 'x'));
  Outcome(disk, &CopyAllFiles);
  EXPECT_GT(view->keepAlives, 1);
}

}  // namespace
}  // namespace docrecover::testing
