#include "discovery/SearchDrive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>

#include "ScriptedHost.h"
#include "platform/Desktop.h"
#include "platform/PlatformError.h"

namespace docrecover {
namespace {

using testing::MemoryDisk;
using testing::Op;

const std::wstring kQuestionEvent =
    L"box Cancel Update?|68|Your ZEMO on CD program has not been updated.\r\n\r\n"
    L"Click Yes if you want to continue the update.\r\n"
    L"Click No if you want to cancel the update.";

class SearchDriveTest : public ::testing::Test {
 protected:
  SearchDriveTest() {
    disk->AddDrive(L'C');
    disk->AddDrive(L'D');
  }

  StringList Search(const std::wstring& drive, const std::wstring& name = L"ZEMO.exe") {
    return SearchDrive(host, drive, name);
  }

  std::shared_ptr<MemoryDisk> disk = MemoryDisk::Create();
  ScriptedHost host{disk};
};

TEST_F(SearchDriveTest, ShowsEveryFileAndReturnsTheMatchesInWalkOrder) {
  const StringList files = {L"D:\\ZEMO.exe",          L"D:\\readme.txt",        L"D:\\a\\zemo.EXE",
                            L"D:\\a\\OldZEMO.exe",    L"D:\\b\\ZEMO.exe.bak",   L"D:\\b\\ZEMO.ex",
                            L"D:\\b\\deep\\ZEMO.exe", L"D:\\c\\ZEMO.exe\\x.txt"};
  for (const std::wstring& file : files) {
    disk->AddFile(file);
  }
  disk->AddFile(L"C:\\ZEMO.exe");

  EXPECT_EQ(Search(L"D"),
            (StringList{L"D:\\ZEMO.exe", L"D:\\a\\zemo.EXE", L"D:\\b\\deep\\ZEMO.exe"}));
  EXPECT_EQ(host.shown, files);
}

struct NameCase {
  std::wstring wanted;
  std::wstring onDisk;
  bool matches;
};

void PrintTo(const NameCase& c, std::ostream* os) {
  *os << ::testing::PrintToString(c.wanted) << " vs " << ::testing::PrintToString(c.onDisk);
}

class SearchDriveNames : public SearchDriveTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(SearchDriveNames, ComparesWholeUpperCasedNames) {
  const std::wstring path = L"D:\\dir\\" + GetParam().onDisk;
  disk->AddFile(path);
  EXPECT_EQ(Search(L"D", GetParam().wanted), GetParam().matches ? StringList{path} : StringList{});
}

INSTANTIATE_TEST_SUITE_P(Names, SearchDriveNames,
                         ::testing::Values(NameCase{L"ZEMO.exe", L"zemo.EXE", true},
                                           NameCase{L"zemo.exe", L"ZEMO.exe", true},
                                           NameCase{L"ärger.exe", L"ÄRGER.EXE", true},
                                           NameCase{L"ΖΕΜΟ.exe", L"ζεμο.EXE", true},
                                           NameCase{L"Жемо.exe", L"жЕМО.exe", true},
                                           NameCase{L"ZEMO.exe", L"OldZEMO.exe", false},
                                           NameCase{L"ZEMO.exe", L"ZEMO.exe.bak", false},
                                           NameCase{L"ZEMO.exe", L"ZEMO.ex", false},
                                           NameCase{L"ZEMO.exe", L" ZEMO.exe", false},
                                           NameCase{L"ZEM*.exe", L"ZEMO.exe", false},
                                           NameCase{L"STRASSE.exe", L"straße.exe", false}));

// A Cancel click delivered during the n-th ShowMessage2, on a drive holding three files.
struct CancelCase {
  const char* what;
  std::set<size_t> clicks;
  std::deque<int32_t> answers;
  std::function<void(ScriptedHost&)> arrange;
  bool ends;
  std::vector<std::wstring> events;
};

void PrintTo(const CancelCase& c, std::ostream* os) {
  *os << c.what;
}

const std::wstring kOne = L"D:\\one\\ZEMO.exe";
const std::wstring kTwo = L"D:\\two\\notes.txt";
const std::wstring kThree = L"D:\\three\\ZEMO.exe";

class SearchDriveCancel : public SearchDriveTest,
                          public ::testing::WithParamInterface<CancelCase> {};

TEST_P(SearchDriveCancel, AsksAfterTheFileAndEndsOnNo) {
  const CancelCase& c = GetParam();
  for (const std::wstring& file : {kOne, kTwo, kThree}) {
    disk->AddFile(file);
  }
  host.clickDuringShow = c.clicks;
  host.answers = c.answers;
  if (c.arrange) {
    c.arrange(host);
  }

  StringList found;
  bool ended = false;
  try {
    found = Search(L"D");
  } catch (const ProgramEnded&) {
    ended = true;
  }

  EXPECT_EQ(ended, c.ends);
  EXPECT_EQ(host.events, c.events);
  if (!c.ends) {
    EXPECT_EQ(found, (StringList{kOne, kThree}));
  }
  EXPECT_FALSE(host.cancelRequested);
}

const std::wstring kShowOne = L"show " + kOne;
const std::wstring kShowTwo = L"show " + kTwo;
const std::wstring kShowThree = L"show " + kThree;

INSTANTIATE_TEST_SUITE_P(
    Clicks, SearchDriveCancel,
    ::testing::Values(
        CancelCase{
            "Yes", {2}, {box::kYes}, {}, false, {kShowOne, kShowTwo, kQuestionEvent, kShowThree}},
        CancelCase{"AnyOtherAnswerGoesOn",
                   {2},
                   {box::kYes + 100},
                   {},
                   false,
                   {kShowOne, kShowTwo, kQuestionEvent, kShowThree}},
        CancelCase{"No",
                   {2},
                   {box::kNo},
                   {},
                   true,
                   {kShowOne, kShowTwo, kQuestionEvent, L"unload", L"end"}},
        CancelCase{"NoWithFailingUnload",
                   {2},
                   {box::kNo},
                   [](ScriptedHost& h) { h.unloadFails = true; },
                   true,
                   {kShowOne, kShowTwo, kQuestionEvent, L"unload", L"end"}},
        CancelCase{"QuestionCannotBeShown",
                   {2},
                   {},
                   [](ScriptedHost& h) { h.boxFails = true; },
                   false,
                   {kShowOne, kShowTwo, kQuestionEvent, kShowThree}},
        CancelCase{"DisplayFails",
                   {1},
                   {box::kYes},
                   [](ScriptedHost& h) { h.showFails = true; },
                   false,
                   {kShowOne, kQuestionEvent, kShowTwo, kShowThree}},
        CancelCase{
            "AskedAgainAfterYes",
            {1, 3},
            {box::kYes, box::kNo},
            {},
            true,
            {kShowOne, kQuestionEvent, kShowTwo, kShowThree, kQuestionEvent, L"unload", L"end"}},
        CancelCase{"AtTheLastFile",
                   {3},
                   {box::kYes},
                   {},
                   false,
                   {kShowOne, kShowTwo, kShowThree, kQuestionEvent}}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(SearchDriveTest, ClickAfterADrivesLastFileIsAnsweredOnTheNextDriveWithAFile) {
  disk->AddFile(L"C:\\ZEMO.exe");
  disk->AddDrive(L'E');
  disk->AddFile(kOne);
  disk->AddFile(kThree);

  EXPECT_EQ(Search(L"C"), StringList{L"C:\\ZEMO.exe"});
  host.cancelRequested = true;  // clicked while the next drive's text was shown

  EXPECT_EQ(Search(L"E"), StringList{});
  EXPECT_TRUE(host.cancelRequested);
  EXPECT_EQ(Search(L"D"), (StringList{kOne, kThree}));
  EXPECT_EQ(host.events, (std::vector<std::wstring>{L"show C:\\ZEMO.exe", kShowOne, kQuestionEvent,
                                                    kShowThree}));
}

struct RootCase {
  const char* what;
  std::function<void(MemoryDisk&, ScriptedHost&)> arrange;
};

void PrintTo(const RootCase& c, std::ostream* os) {
  *os << c.what;
}

class SearchDriveRoot : public SearchDriveTest, public ::testing::WithParamInterface<RootCase> {};

TEST_P(SearchDriveRoot, CannotBeOpenedGivesNothingAndLeavesTheWalkerAlone) {
  disk->AddFile(kOne);
  GetParam().arrange(*disk, host);

  EXPECT_EQ(Search(L"D"), StringList{});
  EXPECT_TRUE(host.events.empty());
  EXPECT_EQ(host.walkerUses, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Roots, SearchDriveRoot,
    ::testing::Values(
        RootCase{"NotReady", [](MemoryDisk& d, ScriptedHost&) { d.SetDriveReadable(L'D', false); }},
        RootCase{"Unreachable", [](MemoryDisk& d, ScriptedHost&) { d.SetUnreachable(L"D:\\"); }},
        RootCase{"NoSuchDrive", [](MemoryDisk& d, ScriptedHost&) { d.Remove(L"D:\\"); }},
        RootCase{"NoServiceObject",
                 [](MemoryDisk&, ScriptedHost& h) { h.fileSystemFails = true; }}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(SearchDriveTest, DriveWithoutFilesEndsAfterOnePass) {
  disk->AddFolder(L"D:\\empty\\deeper");
  EXPECT_EQ(Search(L"D"), StringList{});
  EXPECT_TRUE(host.events.empty());
  EXPECT_EQ(host.walkerUses, 1);
}

// A service whose folders the walker cannot start on: every lookup gives no folder object.
class NoFolderService : public FileSystemService {
 public:
  DriveCollection Drives() override { return Unexpected<DriveCollection>(); }
  FolderPtr GetFolder(const std::wstring&) override { return nullptr; }
  std::wstring FindEntry(const std::wstring&, uint32_t) override {
    return Unexpected<std::wstring>();
  }
  void DeleteFile(const std::wstring&, bool) override { Unexpected<int>(); }
  void CopyFile(const std::wstring&, const std::wstring&, bool) override { Unexpected<int>(); }
  void ReplaceFile(const std::wstring&, const std::wstring&) override { Unexpected<int>(); }

 private:
  template <class Result>
  static Result Unexpected() {
    ADD_FAILURE() << "the search made a call it has no use for";
    return Result{};
  }
};

TEST_F(SearchDriveTest, EndsWhenTheWalkerCannotStartOnTheRoot) {
  disk->AddFile(kOne);
  host.fileSystem = std::make_shared<NoFolderService>();

  EXPECT_EQ(Search(L"D"), StringList{});
  EXPECT_TRUE(host.events.empty());
}

TEST_F(SearchDriveTest, UnreadableNameIsShownButNotMatched) {
  disk->AddFile(kOne);
  disk->AddFile(kThree);
  disk->FailNthCall(Op::kFileName, 1, error::kAccessDenied);

  EXPECT_EQ(Search(L"D"), StringList{kThree});
  EXPECT_EQ(host.shown, (std::vector<std::wstring>{kOne, kThree}));
}

// Whichever single service call fails, the search raises nothing, ends, and returns only paths a
// clean search returns, in the same order.
TEST_F(SearchDriveTest, AnySingleFailingCallIsAbsorbed) {
  const auto build = [] {
    auto d = MemoryDisk::Create();
    d->AddDrive(L'D');
    for (const std::wstring& file : {kOne, kTwo, kThree, std::wstring(L"D:\\ZEMO.exe")}) {
      d->AddFile(file);
    }
    return d;
  };
  const auto cleanDisk = build();
  ScriptedHost cleanHost(cleanDisk);
  const StringList clean = SearchDrive(cleanHost, L"D", L"ZEMO.exe");
  ASSERT_EQ(clean.size(), 3u);
  const int64_t calls = cleanDisk->Calls();

  for (int64_t n = 1; n <= calls; ++n) {
    SCOPED_TRACE("failing call " + std::to_string(n));
    const auto failing = build();
    failing->FailNthCall(n, error::kAccessDenied);
    ScriptedHost failingHost(failing);
    StringList found;
    ASSERT_NO_THROW(found = SearchDrive(failingHost, L"D", L"ZEMO.exe"));
    EXPECT_TRUE(std::includes(clean.begin(), clean.end(), found.begin(), found.end(),
                              [&](const std::wstring& a, const std::wstring& b) {
                                return std::find(clean.begin(), clean.end(), a) <
                                       std::find(clean.begin(), clean.end(), b);
                              }));
  }
}

}  // namespace
}  // namespace docrecover
