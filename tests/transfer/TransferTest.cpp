// The copy and the deletion of documents between two folders of an in-memory disk.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "app/ScriptedDesktop.h"
#include "platform/PlatformError.h"
#include "transfer/CopyAllFiles.h"
#include "transfer/DeleteAllFiles.h"
#include "transfer/ReplaceWithCopy.h"

namespace docrecover::testing {
namespace {

using Names = std::vector<std::wstring>;
const std::wstring kDocs = L"C:\\Docs";
const std::wstring kPackage = L"C:\\Z";
// The files of these names carry these marks (read-only 1, hidden 2, system 4), in the package
// and on the disc.
const std::map<std::wstring, uint32_t> kMarks = {
    {L"ro", 1}, {L"xhid", 2}, {L"sys", 4}, {L"hsr", 7}};
uint32_t MarksOf(const std::wstring& name) {
  return kMarks.contains(name) ? kMarks.at(name) : 0;
}

// The documents hold "new" (no documents folder when there are none), the package's files "old";
// a name with a backslash puts a file in a subfolder.
std::shared_ptr<MemoryDisk> Disk(const Names& docs, const Names& package) {
  auto disk = std::make_shared<MemoryDisk>();
  for (const std::wstring& name : docs) {
    disk->AddFile(kDocs + L"\\" + name, "new", attribute::kReadOnly | MarksOf(name));  // a CD's
  }
  for (const std::wstring& name : package) {
    disk->AddFile(kPackage + L"\\" + name, "old", MarksOf(name));
  }
  return disk;
}

// The window of the last operation; it records the message of the error that ended it last.
std::optional<ScriptedDesktop> view;

const auto kCopy = [](auto&... arguments) { CopyAllFiles(arguments...); };
// The copy of what a list vouches for (see ListText).
auto CopyListed(const Names& documents) {
  return [list = ParseManifest(ListText(documents))](auto&... arguments) {
    CopyAllFiles(arguments..., &list);
  };
}

// Runs the operation in a new window, whose failingKeepAlive-th KeepAlive fails. Gives the error it
// raised (0 for none), then the package folder, sorted: "name=content" for a file, "name\" for a
// folder.
template <class Operation>
Names Outcome(const std::shared_ptr<MemoryDisk>& disk, const Operation& operation,
              int64_t failingKeepAlive = 0) {
  Names outcome = {L"error 0"};
  view.emplace().failingKeepAlive = failingKeepAlive;
  try {
    operation(*NewMemoryFileSystem(disk), *view, kDocs, kPackage);
  } catch (const PlatformError& failure) {
    outcome[0] = L"error " + std::to_wstring(failure.Number());
    view->Record(failure.Message());
  }
  for (const MemoryDisk::Entry* entry : disk->Children(disk->Find(kPackage))) {
    const std::string& content = entry->content;
    outcome.push_back(
        entry->path.substr(kPackage.size() + 1) +
        (entry->folder ? L"\\" : L"=" + std::wstring(content.begin(), content.end())));
  }
  std::sort(outcome.begin() + 1, outcome.end());
  return outcome;
}

TEST(Transfer, CopyAndDeletionTurnOneFolderStateIntoAnother) {
  // No documents folder at all.
  EXPECT_EQ(Outcome(Disk({}, {L"a"}), kCopy), (Names{L"error 3", L"a=old"}));
  // The deletion removes plain and read-only files only, and nothing in subfolders.
  EXPECT_EQ(Outcome(Disk({L"a", L"ro", L"xhid", L"sys", L"dir", L"none", L"sub\\d"},
                         {L"a", L"ro", L"xhid", L"sys", L"dir\\a", L"sub\\d", L"keep"}),
                    &DeleteAllFiles),
            (Names{L"error 0", L"dir\\", L"keep=old", L"sub\\", L"sys=old", L"xhid=old"}));
  // The copy refuses to put a document in a folder's place, whatever the letter case.
  EXPECT_EQ(Outcome(Disk({L"Dir"}, {L"dir\\a"}), kCopy), (Names{L"error 5", L"dir\\"}));
  EXPECT_EQ(view->events.back(),
            L"The document C:\\Z\\Dir could not be replaced: a folder has its name.");
  // A name too long for the temporary name's 16 more units (Windows takes 255 UTF-16 units) is
  // cut to what fits, in whole characters as Windows counts them: an astral one takes two units,
  // so 119 of them fit beside "~" and the suffix, where 239 ASCII letters do.
  const std::wstring letters(240, L'a'), page = L"\U0001F4C4";
  std::wstring pages;
  for (int count = 0; count < 125; ++count) {
    pages += page;
  }
  EXPECT_EQ(TemporaryPathFor(kPackage + L"\\" + pages),
            kPackage + L"\\~" + pages.substr(0, 119 * page.size()) + L".docrecover-tmp");
  EXPECT_EQ(Outcome(Disk({letters, pages}, {letters, pages}), kCopy),
            (Names{L"error 0", letters + L"=new", pages + L"=new"}));
}

// With a list, only what it vouches for is copied, and only as it gives it: a copy that reads
// otherwise (the disc changed since it was checked) is removed, not renamed in, and the report
// names its document; documents copied before it are in place.
TEST(Transfer, OnlyWhatTheListVouchesForTakesADocumentsPlace) {
  EXPECT_EQ(Outcome(Disk({L"a", L"ro"}, {L"a", L"ro"}), CopyListed({L"a", L"ro=old"})),
            (Names{L"error 13", L"a=new", L"ro=old"}));
  // The list as the program carries it, and what it refuses as damaged: a name that would lead
  // out of the folder or that Windows would change, text that is not UTF-8, lines out of order.
  const std::string header = "DocRecover documents 1\n", line = std::string(64, 'b') + " 3 ";
  const std::string list = header + line + "Read Me\n" + line + "\xc3\x9c\n";
  EXPECT_EQ(ParseManifest(list).back().name, L"\u00dc");
  EXPECT_TRUE(ParseManifest(header).empty());
  for (const std::string& damaged :
       {std::string("DocRecover documents 2\n"), list.substr(0, list.size() - 1),
        list + line + "A\n", list + line + "\xc3\x9c\n", header + std::string(64, 'B') + " 3 a\n",
        header + std::string(63, 'b') + " 3 a\n", header + line.substr(0, 65) + "x a\n",
        header + line.substr(0, 65) + " a\n"}) {
    EXPECT_THROW(ParseManifest(damaged), std::runtime_error) << damaged;
  }
  for (const std::string name :
       {"", ".", "..", "a\\b", "a/b", "c:", "a.", "a ", "\xc3", "\xc0\xae"}) {
    EXPECT_THROW(ParseManifest(header + line + name + "\n"), std::runtime_error) << name;
  }
}

// The copy replaces every file whatever its marks, adds absent ones and skips subfolders. A disc's
// document marked hidden, system and read-only ("hsr") replaces an old one with those marks, and
// the next run replaces it again. Then every call of the copy fails in turn, and removing a
// temporary file after the failure is refused too. Each document is then old or new, never
// missing or partial; a temporary file is left only where its removal was refused; and a rerun
// finishes the copy. The power going after each call in turn blanks no document either.
TEST(Transfer, CopyLosesNoDocumentWhicheverCallFails) {
  const Names docs = {L"a", L"ro", L"add", L"sys", L"sub\\d", L"xhid", L"hsr", L"unlisted"};
  const auto kCopy = CopyListed({L"a", L"add", L"hsr", L"ro", L"sys", L"xhid"});
  const Names package = {L"a", L"ro", L"sys", L"xhid", L"hsr", L"keep"};
  const Names done = {L"error 0",  L"a=new",  L"add=new", L"hsr=new",
                      L"keep=old", L"ro=new", L"sys=new", L"xhid=new"};
  const auto clean = Disk(docs, package);
  ASSERT_EQ(Outcome(clean, kCopy), done);
  const int64_t calls = clean->Calls();
  EXPECT_EQ(Outcome(clean, kCopy), done);
  // Each document is old or new, never missing or partial; the added one may be missing still.
  const auto expectIntact = [&package](const MemoryDisk& disk) {
    for (const std::wstring& name : Names{L"a", L"ro", L"sys", L"xhid", L"hsr", L"keep", L"add"}) {
      const auto content = disk.Content(kPackage + L"\\" + name);
      EXPECT_TRUE(content == "old" || content == "new" || (!content && name == L"add")) << name;
    }
  };

  for (int64_t n = 1; n <= calls; ++n) {
    SCOPED_TRACE("failing call " + std::to_string(n));
    const auto disk = Disk(docs, package);
    disk->FailNthCall(n, 1117);
    disk->FailNthCall(Op::kDeleteFile, 1, 1117);
    const Names outcome = Outcome(disk, kCopy);
    EXPECT_EQ(outcome[0], L"error 1117");
    expectIntact(*disk);
    // Nothing else but the added document, or a temporary file whose removal was refused.
    EXPECT_TRUE(outcome.size() ==
                    1 + package.size() + disk->Content(kPackage + L"\\add").has_value() ||
                disk->Calls(Op::kDeleteFile) != 0);
    disk->ClearFaults();
    EXPECT_EQ(Outcome(disk, kCopy), done);

    const auto cut = Disk(docs, package);
    cut->CutPowerAfter(n - 1);
    Outcome(cut, kCopy);
    expectIntact(*cut);
  }
}

// A document another program holds, or its new copy, which a virus scanner opens as soon as it is
// made, is tried 20 times, 100 ms apart. Held for good, the document is named in the report and
// stays as it was, with no temporary file beside it.
TEST(Transfer, AHeldDocumentIsWaitedForThenNamed) {
  for (const wchar_t* held : {L"\\ro", L"\\~ro.docrecover-tmp"}) {
    for (const int64_t refusals : {19, 20}) {
      const auto disk = Disk({L"ro"}, {L"ro"});
      disk->Hold(kPackage + held, refusals);
      disk->FailNthCall(Op::kDeleteFile, 1, error::kAccessDenied);  // the temporary file, a moment
      const Names outcome = Outcome(disk, kCopy);
      EXPECT_EQ(std::count(view->events.begin(), view->events.end(), L"pause 100"), refusals);
      EXPECT_EQ(outcome,
                (refusals == 19 ? Names{L"error 0", L"ro=new"} : Names{L"error 32", L"ro=old"}));
      EXPECT_EQ(view->events.back().find(L"The document " + kPackage +
                                         L"\\ro could not be replaced. "
                                         L"Another program may be using it"),
                refusals == 19 ? std::wstring::npos : 0);
    }
  }
  // A document whose permissions refuse its replacement is named as such, with no advice to close
  // a program, and stays as it was (a folder that refuses is seen end to end).
  const auto locked = Disk({L"ro"}, {L"ro"});
  locked->Lock(kPackage + L"\\ro");
  EXPECT_EQ(Outcome(locked, kCopy), (Names{L"error 5", L"ro=old"}));
  EXPECT_EQ(view->events.back().find(L"The document " + kPackage + L"\\ro does not let"), 0u);
  // A large document keeps the window alive while it is copied.
  const auto disk = Disk({L"big"}, {L"big"});
  disk->AddFile(kDocs + L"\\big", std::string(200 * 1024, 'x'));
  Outcome(disk, kCopy);
  EXPECT_GT(view->keepAlives, 1);
  // A failure the window passes up then (one it recorded: fonts it could not make, say) cancels
  // the copy, which the platform runs in frames no exception may cross, and ends the operation
  // once the copy has returned: the document is as it was, with no temporary file beside it.
  disk->AddFile(kDocs + L"\\big", std::string(300 * 1024, 'y'));
  EXPECT_EQ(Outcome(disk, kCopy, /*failingKeepAlive=*/2),
            (Names{L"error 1450", L"big=" + std::wstring(200 * 1024, L'x')}));
}

}  // namespace
}  // namespace docrecover::testing
