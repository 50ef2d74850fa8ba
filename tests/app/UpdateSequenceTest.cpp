// The whole update sequence on an in-memory computer with a scripted desktop: every end of a
// run, the offer, the search, the package test and the copy, compared as whole event sequences.
// The expected texts are written out here, apart from the program's own constants.

#include <gtest/gtest.h>

#include "ScriptedDesktop.h"
#include "app/modMain.h"

namespace docrecover::testing {
namespace {

const std::wstring kTitle = L"ZEMO On CD Doc Recover";
const std::wstring kSupport =
    L"Orvell Technical Support\r\nEmail: support@docrecover.invalid\r\nPhone: 555-0142";
const std::wstring kAnalyzing = L"main: Analyzing your system, Please wait...";
const std::wstring kNoDrives =
    L"Windows is reporting that this computer has no hard drives.\r\n\r\nPlease restart your "
    L"computer and run this program again.\r\n\r\nIf, after restarting your computer you still see "
    L"this message, contact Orvell for assistance.\r\n\r\n" +
    kSupport;
const std::wstring kOffer =
    L"The ZEMO On CD program has been located on drive C in the following "
    L"folder:\r\n\r\nC:\\Program "
    L"Files\\ZEMO On CD\r\n\r\nWe recommend that you click YES to continue normally and update "
    L"your "
    L"ZEMO On CD program.\r\n\r\nYou may optionally click NO if you want this updater to search "
    L"your "
    L"computer for additional installations of the ZEMO On CD program. We recommend that you do "
    L"this only if you've already run this updater and found that your ZEMO On CD program was not "
    L"updated.";
const std::wstring kNotInstalled =
    L"Windows is reporting that ZEMO On CD is not installed on this computer.\r\n\r\nIf you're "
    L"sure "
    L"that ZEMO On CD is installed on this computer, please restart your computer and run this "
    L"updater again. If, after restarting your computer and running this updater a second time you "
    L"still encounter this error, contact Orvell technical support for assistance.\r\n\r\n" +
    kSupport;
const std::wstring kNoCopies =
    L"This updater has found no copies of ZEMO On CD on your computer.\r\n\r\nIf you're sure that "
    L"ZEMO On CD is installed on this computer, please restart your computer and run this updater "
    L"again. If, after restarting your computer and running this program a second time you still "
    L"encounter this error, contact Orvell technical support for assistance.\r\n\r\n" +
    kSupport;
const std::wstring kCompletion = L"ZEMO On CD Doc Repair has completed successfully.";
const std::wstring kDefaultFolder = L"C:\\Program Files\\ZEMO On CD";

std::wstring Searching(const std::wstring& drive) {
  return L"main: Welcome\r\n\r\nZEMO On CD Update is now searching drive " + drive +
         L" for all copies of the ZEMO On CD program.\r\n\r\nPlease wait...";
}
std::wstring Copying(const std::wstring& folder) {
  return L"main: Copying New Documents...\r\n\r\n" + folder;
}

class UpdateSequence : public ::testing::Test {
 protected:
  UpdateSequence() {
    disk->AddDrive(L'C');
    disk->AddDrive(L'E', drive_type::kCdRom);
    disk->AddFile(L"E:\\CD\\Docs\\a.pdf", "new a");
    disk->AddFile(L"E:\\CD\\Docs\\b.pdf", "new b");
  }

  // An installation: its executable, and a package folder holding old documents when asked.
  void Install(const std::wstring& folder, bool withPackage = true) {
    disk->AddFile(folder + L"\\ZEMO.exe", "exe");
    if (withPackage) {
      disk->AddFile(folder + L"\\Packages\\ZEMO\\a.pdf", "old a");
      disk->AddFile(folder + L"\\Packages\\ZEMO\\keep.pdf", "mine");
    }
  }

  bool Updated(const std::wstring& folder) const {
    return disk->Content(folder + L"\\Packages\\ZEMO\\a.pdf") == "new a" &&
           disk->Content(folder + L"\\Packages\\ZEMO\\b.pdf") == "new b" &&
           disk->Content(folder + L"\\Packages\\ZEMO\\keep.pdf") == "mine";
  }

  int Run() { return modMain::Main(desktop, desktop); }

  // The events without the paths the search shows, which depend on every file on the disk.
  std::vector<std::wstring> Milestones() const {
    std::vector<std::wstring> kept;
    for (const std::wstring& event : desktop.events) {
      if (event.rfind(L"pane2: ", 0) != 0 || event.find(L'\\') == std::wstring::npos) {
        kept.push_back(event);
      }
    }
    return kept;
  }

  std::wstring Box(int32_t style, const std::wstring& text) const {
    return BoxEvent(kTitle, style, text);
  }

  std::shared_ptr<MemoryDisk> disk = MemoryDisk::Create();
  ScriptedDesktop desktop{disk, L"E:\\CD"};
};

TEST_F(UpdateSequence, AComputerWithoutFixedDrivesGetsOnlyTheNoDrivesBox) {
  disk->Remove(L"C:\\");
  disk->AddDrive(L'N', drive_type::kNetwork);
  Install(L"N:\\ZEMO On CD");
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(desktop.events, (std::vector<std::wstring>{L"show", kAnalyzing, L"pane2: ",
                                                       Box(16, kNoDrives), L"unload", L"unload"}));
}

TEST_F(UpdateSequence, OfferAcceptedUpdatesOnlyTheDefaultInstallation) {
  Install(kDefaultFolder);
  Install(L"C:\\Other");
  desktop.answers[kTitle] = {6};
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(desktop.events,
            (std::vector<std::wstring>{
                L"show", kAnalyzing, L"pane2: ", Box(68, kOffer), L"cancel disabled", L"pane2: ",
                Copying(kDefaultFolder), L"pane2: a.pdf", L"pane2: b.pdf", L"pane2: ",
                L"main: Updating your system, please wait...", Box(64, kCompletion), L"unload"}));
  EXPECT_TRUE(Updated(kDefaultFolder));
  EXPECT_FALSE(Updated(L"C:\\Other"));
}

TEST_F(UpdateSequence, OfferDeclinedSearchesEveryFixedDriveAndUpdatesAllInListOrder) {
  Install(kDefaultFolder);
  disk->AddDrive(L'D');
  Install(L"D:\\");  // an installation at the root of a drive
  disk->AddDrive(L'F', drive_type::kRemovable);
  Install(L"F:\\Stick");
  desktop.answers[kTitle] = {7};
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(
      Milestones(),
      (std::vector<std::wstring>{
          L"show", kAnalyzing, L"pane2: ", Box(68, kOffer), Searching(L"C"), Searching(L"D"),
          L"cancel disabled", L"pane2: ", Copying(kDefaultFolder), L"pane2: a.pdf", L"pane2: b.pdf",
          L"pane2: ", Copying(L"D:"), L"pane2: a.pdf", L"pane2: b.pdf", L"pane2: ",
          L"main: Updating your system, please wait...", Box(64, kCompletion), L"unload"}));
  EXPECT_TRUE(Updated(kDefaultFolder));
  EXPECT_TRUE(Updated(L"D:"));
  EXPECT_FALSE(Updated(L"F:\\Stick"));
}

TEST_F(UpdateSequence, NothingFoundGivesNotInstalledWithTheLastSearchPathStillShown) {
  disk->AddFile(L"C:\\Games\\OldZEMO.exe");
  EXPECT_EQ(Run(), 0);
  const std::vector<std::wstring>& events = desktop.events;
  ASSERT_GE(events.size(), 4u);
  EXPECT_EQ(events[events.size() - 4], L"pane2: C:\\Games\\OldZEMO.exe");
  EXPECT_EQ(std::vector<std::wstring>(events.end() - 3, events.end()),
            (std::vector<std::wstring>{Box(48, kNotInstalled), L"unload", L"unload"}));
}

TEST_F(UpdateSequence, CandidatesWithoutAPackageFolderGiveNoCopies) {
  struct Row {
    const char* what;
    uint32_t attributes;  // of a Packages\ZEMO folder, or none at all
    bool present;
  };
  const Row rows[] = {{"missing", 0, false},
                      {"hidden", attribute::kHidden, true},
                      {"system", attribute::kSystem, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    disk = MemoryDisk::Create();
    disk->AddDrive(L'C');
    disk->AddFile(L"E:\\CD\\Docs\\a.pdf", "new a");
    desktop = ScriptedDesktop(disk, L"E:\\CD");
    Install(L"C:\\Apps", false);
    if (row.present) {
      disk->AddFolder(L"C:\\Apps\\Packages\\ZEMO", row.attributes);
    }
    EXPECT_EQ(Run(), 0);
    const std::vector<std::wstring> tail(desktop.events.end() - 5, desktop.events.end());
    EXPECT_EQ(tail, (std::vector<std::wstring>{
                        L"cancel disabled",
                        L"main: ZEMO On CD Update found no copies of ZEMO On CD on your computer.",
                        L"pane2: ", Box(48, kNoCopies), L"unload"}));
  }
}

TEST_F(UpdateSequence, TheDefaultExecutableCountsHiddenOrReadOnlyButNotAsAFolder) {
  struct Row {
    const char* what;
    bool folder;
    uint32_t attributes;
    bool offered;
  };
  const Row rows[] = {{"plain", false, 0, true},
                      {"hidden", false, attribute::kHidden, true},
                      {"read-only", false, attribute::kReadOnly, true},
                      {"a folder named ZEMO.exe", true, 0, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    desktop.events.clear();
    const std::wstring path = kDefaultFolder + L"\\ZEMO.exe";
    if (row.folder) {
      disk->AddFolder(path, row.attributes);
    } else {
      disk->AddFile(path, "exe", row.attributes);
    }
    desktop.answers[kTitle] = {6};
    Run();
    EXPECT_EQ(desktop.events[3] == Box(68, kOffer), row.offered) << desktop.events[3];
    disk->Remove(path);
  }
}

TEST_F(UpdateSequence, AProgramAtTheRootOfADriveCopiesFromItsDocsFolder) {
  disk->AddFile(L"E:\\Docs\\a.pdf", "new a");
  disk->AddFile(L"E:\\Docs\\b.pdf", "new b");
  disk->Remove(L"E:\\CD");
  desktop = ScriptedDesktop(disk, L"E:\\");
  Install(kDefaultFolder);
  desktop.answers[kTitle] = {6};
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(Updated(kDefaultFolder));
}

TEST_F(UpdateSequence, APlainFileNamedLikeThePackageFolderCountsAndItsCopyFailureIsReported) {
  Install(L"C:\\Apps", false);
  disk->AddFile(L"C:\\Apps\\Packages\\ZEMO", "not a folder");
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(desktop.events.back(), L"unload");
  const std::wstring report = desktop.events[desktop.events.size() - 2];
  EXPECT_EQ(report.rfind(L"box " + kTitle + L" 16: ", 0), 0u) << report;
  EXPECT_NE(report.find(L"The system cannot find the path specified."), std::wstring::npos);
  EXPECT_NE(report.find(L"(error 3)"), std::wstring::npos);
}

TEST_F(UpdateSequence, AFailedCopyEndsTheRunBeforeLaterInstallationsAndWithoutCompletion) {
  Install(L"C:\\A");
  Install(L"C:\\B");
  disk->SetInUse(L"E:\\CD\\Docs\\b.pdf");
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(disk->Content(L"C:\\A\\Packages\\ZEMO\\a.pdf"), "new a");  // done before the failure
  EXPECT_FALSE(disk->Exists(L"C:\\A\\Packages\\ZEMO\\b.pdf"));
  EXPECT_EQ(disk->Content(L"C:\\B\\Packages\\ZEMO\\a.pdf"), "old a");
  for (const std::wstring& event : desktop.events) {
    EXPECT_EQ(event.find(kCompletion), std::wstring::npos);
    EXPECT_NE(event, Copying(L"C:\\B"));
  }
  EXPECT_NE(desktop.events[desktop.events.size() - 2].find(L"(error 32)"), std::wstring::npos);
}

TEST_F(UpdateSequence, ACancelAnsweredYesLetsTheRunEndAsIfNoneWasAsked) {
  Install(L"C:\\Apps");
  disk->AddFile(L"C:\\Apps\\readme.txt");
  desktop.clickAtShow2 = {2, 3};  // two clicks on the first search paths
  desktop.answers[L"Cancel Update?"] = {6, 6};
  EXPECT_EQ(Run(), 0);
  int questions = 0;
  for (const std::wstring& event : desktop.events) {
    questions += event.rfind(L"box Cancel Update? 68: ", 0) == 0 ? 1 : 0;
  }
  EXPECT_EQ(questions, 2);
  EXPECT_EQ(desktop.events[desktop.events.size() - 2], Box(64, kCompletion));
  EXPECT_TRUE(Updated(L"C:\\Apps"));
}

TEST_F(UpdateSequence, ACancelAnsweredNoEndsTheProgramAtOnceWithNothingCopied) {
  Install(L"C:\\Apps");
  desktop.clickAtShow2 = {2};
  desktop.answers[L"Cancel Update?"] = {7};
  EXPECT_THROW(Run(), ProgramEnded);
  EXPECT_EQ(std::vector<std::wstring>(desktop.events.end() - 3, desktop.events.end()),
            (std::vector<std::wstring>{
                BoxEvent(L"Cancel Update?", 68,
                         L"Your ZEMO on CD program has not been updated.\r\n\r\nClick Yes if you "
                         L"want to continue the update.\r\nClick No if you want to cancel the "
                         L"update."),
                L"unload", L"end"}));
  EXPECT_EQ(disk->Content(L"C:\\Apps\\Packages\\ZEMO\\a.pdf"), "old a");
}

}  // namespace
}  // namespace docrecover::testing
