// The file-system service's contract, one set of cases for every implementation: the in-memory
// one natively, the Win32 one under Wine on real files. What the fake models and Wine cannot show
// (Windows refusing to overwrite a hidden target, drives of other types) is not tested here.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <tuple>
#include <vector>

#include "ContractDriver.h"
#include "platform/PlatformError.h"
#include "transfer/CopyAllFiles.h"
#include "transfer/DocumentManifest.h"

namespace docrecover::testing {
namespace {

using Texts = std::vector<std::wstring>;

// What get gives for each item, sorted: the cases do not depend on listing order.
template <class Items, class Get>
Texts Sorted(const Items& items, Get get) {
  Texts texts;
  for (const auto& item : items) {
    texts.push_back(((*item).*get)());
  }
  std::sort(texts.begin(), texts.end());
  return texts;
}

class FileSystemContract : public ::testing::Test {
 protected:
  // Every case works beyond MAX_PATH, under names in several scripts.
  FileSystemContract() {
    while (root.size() < 300) {
      root += L"\\Dokumente \u00c4\u00d6\u00dc \u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac";
      MakeFolder(root);
    }
  }
  std::wstring At(const std::wstring& relative) const { return root + L"\\" + relative; }

  FileSystemService& fs = Service();
  std::wstring root = NewScratchFolder();
  struct : ProgressView {
    void ShowMessage2(const std::wstring&) override {}
    void KeepAlive() override {}
    void Pause(int32_t) override {}
  } view;
};

TEST_F(FileSystemContract, AFolderIsReadOnceWhicheverPartIsAskedFirst) {
  for (const int first : {0, 1}) {  // the subfolders first, then the files first
    const int second = 1 - first;
    const std::wstring path = At(first == 0 ? L"\u65e5\u672c" : L"files first");
    MakeFolder(path);
    MakeFile(path + L"\\\u00df.txt");
    const FolderPtr folder = fs.GetFolder(path);
    EXPECT_EQ(folder->Path(), path);
    EXPECT_FALSE(folder->IsLink());
    const std::function<Texts()> part[] = {
        [&] { return Sorted(folder->SubFolders(), &Folder::Path); },
        [&] { return Sorted(folder->Files(), &File::Path); }};
    const Texts before[] = {{}, {path + L"\\\u00df.txt"}};
    const Texts after[] = {{path + L"\\new"}, {path + L"\\new.txt", path + L"\\\u00df.txt"}};
    EXPECT_EQ(part[first](), before[first]) << first;
    // Made after the one listing: the other part, handed out next, comes from that listing.
    MakeFile(path + L"\\new.txt");
    MakeFolder(path + L"\\new");
    EXPECT_EQ(part[second](), before[second]) << first;
    // Both parts have been handed out: asking again, for either, lists the folder anew.
    EXPECT_EQ(part[first](), after[first]) << first;
    EXPECT_EQ(part[second](), after[second]) << first;
    EXPECT_EQ(Sorted(folder->Files(), &File::Name), (Texts{L"new.txt", L"\u00df.txt"}));
  }
}

// The drives themselves are seen end to end: the search finds what is on each fixed drive.
TEST_F(FileSystemContract, ADriveRootKeepsOneBackslash) {
  const FolderPtr top = fs.GetFolder(root.substr(0, 3));
  EXPECT_EQ(top->Path(), root.substr(0, 3));
  EXPECT_EQ(FileSystemService::GetParentFolderName(root.substr(0, 3) + L"ZEMO.exe"), top->Path());
  const Texts children = Sorted(top->SubFolders(), &Folder::Path);  // "C:\users", not "C:\\users"
  EXPECT_NE(std::find(children.begin(), children.end(), root.substr(0, root.find(L'\\', 3))),
            children.end());
  EXPECT_EQ(fs.GetFolder(root + L"\\")->Path(), root);
}

TEST_F(FileSystemContract, TheLookupMaskAdmitsHiddenSystemAndFoldersOnlyWhenAsked) {
  MakeFile(At(L"plain.txt"));
  MakeFile(At(L"readonly.txt"), "", attribute::kReadOnly);
  MakeFile(At(L"hidden.txt"), "", attribute::kHidden);
  MakeFile(At(L"system.txt"), "", attribute::kSystem);
  MakeFolder(At(L"folder"));
  MakeFolder(At(L"hiddenfolder"), attribute::kHidden);
  // path, mask, the name found ("" for none)
  const std::tuple<const wchar_t*, uint32_t, const wchar_t*> rows[] = {
      {L"PLAIN.TXT", 0, L"plain.txt"},
      {L"readonly.txt", 0, L"readonly.txt"},
      {L"hidden.txt", 0, L""},
      {L"hidden.txt", 2, L"hidden.txt"},
      {L"system.txt", 2, L""},
      {L"system.txt", 39, L"system.txt"},
      {L"folder", 39, L""},
      {L"folder", 16, L"folder"},
      {L"hiddenfolder", 16, L""},
      {L"hiddenfolder", 18, L"hiddenfolder"},
      {L"missing\\plain.txt", 63, L""},
      {L"plain.txt\\inner", 63, L""},
  };
  for (const auto& [path, mask, found] : rows) {
    EXPECT_EQ(fs.FindEntry(At(path), mask), found) << path << " mask " << mask;
  }
}

TEST_F(FileSystemContract, RefusalsCarryTheWindowsNumberAndChangeNothing) {
  MakeFile(At(L"new.pdf"), "new");
  MakeFile(At(L"plain.pdf"), "plain");
  MakeFile(At(L"ro.pdf"), "ro", attribute::kReadOnly);
  MakeFile(At(L"ro2.pdf"), "ro2", attribute::kReadOnly);
  MakeFolder(At(L"folder"));
  // Windows opens no read-only file for writing, which a flush needs: flushed, it stays read-only.
  fs.FlushFile(At(L"ro.pdf"));
  // What is refused, and the numbers Windows gives (a missing item is 2 or 3 as it sees the path).
  const std::tuple<const char*, std::function<void()>, std::set<uint32_t>> refusals[] = {
      {"open a missing folder", [&] { fs.GetFolder(At(L"gone")); }, {2, 3}},
      {"open a file as a folder", [&] { fs.GetFolder(At(L"new.pdf")); }, {3}},
      {"copy a missing file", [&] { fs.CopyFile(At(L"gone"), At(L"x.pdf"), true); }, {2}},
      {"copy over a file", [&] { fs.CopyFile(At(L"new.pdf"), At(L"plain.pdf"), false); }, {80}},
      {"replace from nothing", [&] { fs.ReplaceFile(At(L"gone"), At(L"ro.pdf")); }, {2}},
      // After the failed replacement the target is still read-only.
      {"delete read-only", [&] { fs.DeleteFile(At(L"ro.pdf"), false); }, {5}},
      {"delete a missing file", [&] { fs.DeleteFile(At(L"gone"), true); }, {2}},
      {"folder over file", [&] { fs.ReplaceFile(At(L"folder"), At(L"new.pdf")); }, {5}},
      {"file over folder", [&] { fs.ReplaceFile(At(L"new.pdf"), At(L"folder")); }, {5}},
      {"read a missing file", [&] { fs.OpenForReading(At(L"gone")); }, {2}},
      {"read a folder", [&] { fs.OpenForReading(At(L"folder")); }, {5}},
  };
  for (const auto& [what, call, numbers] : refusals) {
    try {
      call();
      ADD_FAILURE() << what << ": no failure";
    } catch (const PlatformError& failure) {
      EXPECT_EQ(numbers.count(failure.Number()), 1u) << what << ": " << failure.Number();
      EXPECT_NE(failure.Message().find(root), std::wstring::npos) << what;  // names what failed
      EXPECT_EQ(failure.Message().find_first_of(L"\r\n"), std::wstring::npos) << what;  // one line
    }
  }
  EXPECT_EQ(Content(At(L"new.pdf")), "new");
  EXPECT_EQ(Content(At(L"plain.pdf")), "plain");
  EXPECT_EQ(Content(At(L"ro.pdf")), "ro");
  EXPECT_EQ(Content(At(L"x.pdf")), std::nullopt);
  // Done as the product does them: a read-only file is deleted with force (and replaced, below).
  fs.CopyFile(At(L"new.pdf"), At(L"plain.pdf"), true);
  fs.DeleteFile(At(L"ro2.pdf"), true);
  EXPECT_EQ(Content(At(L"plain.pdf")), "new");
  EXPECT_EQ(Content(At(L"ro2.pdf")), std::nullopt);
}

// Making a path full drops a component's trailing dots, and a last component's spaces too; a name
// the listing gave with them is still reached as given. So an installation in a folder whose name
// ends with a dot is updated: its "Read Me." is replaced under that name, beside "Read Me", the
// name a path made full would give.
TEST_F(FileSystemContract, NamesEndingInADotOrASpaceAreReachedAsListed) {
  const std::wstring install = At(L"ZEMO On CD."), package = install + L"\\Packages";
  const std::wstring docs = At(L"Docs ");
  for (const std::wstring& folder : {At(L"ZEMO On CD"), install, package, docs}) {
    MakeFolder(folder);
  }
  MakeFile(package + L"\\Read Me.", "old", attribute::kReadOnly);
  MakeFile(package + L"\\Read Me", "other");
  MakeFile(docs + L"\\Read Me.", "new", attribute::kReadOnly);
  MakeFile(docs + L"\\Notes ", "new");
  EXPECT_EQ(fs.FindEntry(package, attribute::kDirectory), L"Packages");
  CopyAllFiles(fs, view, docs, package);
  EXPECT_EQ(Sorted(fs.GetFolder(package)->Files(), &File::Name),
            (Texts{L"Notes ", L"Read Me", L"Read Me."}));
  EXPECT_EQ(Content(package + L"\\Read Me."), "new");
  EXPECT_EQ(Content(package + L"\\Read Me"), "other");
}

// The platform's SHA-256 (natively the tests' stand-in) on known vectors, read in chunks from a
// file, as the checks of documents read it.
TEST_F(FileSystemContract, AFileIsReadWholeWithItsSha256) {
  const std::pair<std::string, const char*> vectors[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"}};
  for (const auto& [content, sha256] : vectors) {
    const std::wstring path = At(std::to_wstring(content.size()));
    MakeFile(path, content, attribute::kReadOnly);
    const DocumentManifest list = ParseManifest("DocRecover documents 1\n" + std::string(sha256) +
                                                " " + std::to_string(content.size()) + " a\n");
    EXPECT_EQ(fs.OpenForReading(path)->Size(), content.size());
    EXPECT_TRUE(Matches(ReadFacts(fs, view, path), list[0])) << content.size();
  }
}

TEST_F(FileSystemContract, LinksAreReportedAsLinksByTheListingAndByGetFolder) {
  const std::wstring real = LinkLoop();
  const FolderPtr folder = fs.GetFolder(real);
  EXPECT_FALSE(folder->IsLink());
  const FolderCollection subfolders = folder->SubFolders();
  ASSERT_EQ(subfolders.Count(), 1);
  EXPECT_EQ((*subfolders.begin())->Path(), real + L"\\loop");
  EXPECT_TRUE((*subfolders.begin())->IsLink());
  EXPECT_EQ(Sorted(folder->Files(), &File::Path), Texts{real + L"\\doc.txt"});
  EXPECT_TRUE(fs.GetFolder(real + L"\\loop")->IsLink());
  EXPECT_EQ(fs.FindEntry(real + L"\\loop", attribute::kDirectory), L"loop");  // still a folder
}

}  // namespace
}  // namespace docrecover::testing
