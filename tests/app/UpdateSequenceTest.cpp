// The whole update sequence on an in-memory computer with a scripted desktop: every end of a
// run, the offer, the search, the package test, the copy and the error report, each compared as
// a whole event sequence. The expected texts are written out here, apart from the program's own
// constants.

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <new>
#include <stdexcept>
#include <utility>

#include "ScriptedDesktop.h"
#include "app/frmMain.h"
#include "app/modMain.h"

namespace docrecover::testing {
namespace {

using Events = std::vector<std::wstring>;

const std::wstring kTitle = L"ZEMO On CD Doc Recover";
const std::wstring kSupport =
    L"Orvell Technical Support\r\nEmail: support@docrecover.invalid\r\nPhone: 555-0142";
const std::wstring kNoDrives =
    L"Windows is reporting that this computer has no hard drives.\r\n\r\nPlease restart your "
    L"computer and run this program again.\r\n\r\nIf, after restarting your computer you still see "
    L"this message, contact Orvell for assistance.\r\n\r\n" +
    kSupport;
const std::wstring kOffer =
    L"The ZEMO On CD program has been located on drive C in the following folder:\r\n\r\n"
    L"C:\\Program Files\\ZEMO On CD\r\n\r\n"
    L"We recommend that you click YES to continue normally and update your ZEMO On CD program."
    L"\r\n\r\nYou may optionally click NO if you want this updater to search your computer for "
    L"additional installations of the ZEMO On CD program. We recommend that you do this only if "
    L"you've already run this updater and found that your ZEMO On CD program was not updated.";
const std::wstring kNotInstalled =
    L"Windows is reporting that ZEMO On CD is not installed on this computer.\r\n\r\nIf you're "
    L"sure that ZEMO On CD is installed on this computer, please restart your computer and run "
    L"this updater again. If, after restarting your computer and running this updater a second "
    L"time you still encounter this error, contact Orvell technical support for assistance."
    L"\r\n\r\n" +
    kSupport;
const std::wstring kNoCopies =
    L"This updater has found no copies of ZEMO On CD on your computer.\r\n\r\nIf you're sure that "
    L"ZEMO On CD is installed on this computer, please restart your computer and run this updater "
    L"again. If, after restarting your computer and running this program a second time you still "
    L"encounter this error, contact Orvell technical support for assistance.\r\n\r\n" +
    kSupport;
const std::wstring kCompletion = L"ZEMO On CD Doc Repair has completed successfully.";
const std::wstring kCancelQuestion =
    L"Your ZEMO on CD program has not been updated.\r\n\r\nClick Yes if you want to continue the "
    L"update.\r\nClick No if you want to cancel the update.";
const std::wstring kAfterFailure =
    L"\r\n\r\nDocuments copied before the error are in place; no other document was changed.";
const std::wstring kDefaultFolder = L"C:\\Program Files\\ZEMO On CD";

std::wstring Box(int32_t style, const std::wstring& text) {
  return BoxEvent(kTitle, style, text);
}
std::wstring Pane2(const std::wstring& text) {
  return L"pane2: " + text;
}

Events Join(std::initializer_list<Events> parts) {
  Events joined;
  for (const Events& part : parts) {
    joined.insert(joined.end(), part.begin(), part.end());
  }
  return joined;
}

const Events kStart = {L"show", L"main: Analyzing your system, Please wait...", Pane2(L"")};
const Events kCompleted = {Pane2(L""), L"main: Updating your system, please wait...",
                           Box(64, kCompletion), L"unload"};
const Events kNoCopiesEnd = {
    L"main: ZEMO On CD Update found no copies of ZEMO On CD on your computer.", Pane2(L""),
    Box(48, kNoCopies), L"unload"};
const Events kNotInstalledEnd = {Box(48, kNotInstalled), L"unload", L"unload"};

std::wstring Searching(const std::wstring& drive) {
  return L"main: Welcome\r\n\r\nZEMO On CD Update is now searching drive " + drive +
         L" for all copies of the ZEMO On CD program.\r\n\r\nPlease wait...";
}

// The searching text of one drive, then every path the search shows on it.
Events Search(const std::wstring& drive, const Events& paths) {
  Events events = {Searching(drive)};
  for (const std::wstring& path : paths) {
    events.push_back(Pane2(path));
  }
  return events;
}

// The copy of the two new documents into one installation.
Events CopyInto(const std::wstring& folder) {
  return {Pane2(L""), L"main: Copying New Documents...\r\n\r\n" + folder, Pane2(L"a.pdf"),
          Pane2(L"b.pdf")};
}

// An installation: its executable, and a package folder with an old and a user's document.
void Install(MemoryDisk& disk, const std::wstring& folder, bool withPackage = true) {
  disk.AddFile(folder + L"\\ZEMO.exe", "exe");
  if (withPackage) {
    disk.AddFile(folder + L"\\Packages\\ZEMO\\a.pdf", "old a");
    disk.AddFile(folder + L"\\Packages\\ZEMO\\keep.pdf", "mine");
  }
}

// The files the search shows in an installation made by Install, in walking order.
Events Installed(const std::wstring& folder) {
  return {folder + L"\\ZEMO.exe", folder + L"\\Packages\\ZEMO\\a.pdf",
          folder + L"\\Packages\\ZEMO\\keep.pdf"};
}

bool Updated(const MemoryDisk& disk, const std::wstring& folder) {
  return disk.Content(folder + L"\\Packages\\ZEMO\\a.pdf") == "new a" &&
         disk.Content(folder + L"\\Packages\\ZEMO\\b.pdf") == "new b" &&
         disk.Content(folder + L"\\Packages\\ZEMO\\keep.pdf") == "mine";
}

// A computer with a fixed drive C and the program on the CD in E, with two new documents.
std::shared_ptr<MemoryDisk> NewComputer(const std::wstring& docs = L"E:\\CD\\Docs") {
  auto disk = MemoryDisk::Create();
  disk->AddDrive(L'C');
  disk->AddDrive(L'E', drive_type::kCdRom);
  disk->AddFile(docs + L"\\a.pdf", "new a");
  disk->AddFile(docs + L"\\b.pdf", "new b");
  return disk;
}

TEST(UpdateSequence, EveryEndOfARun) {
  struct Row {
    const char* what;
    std::function<void(MemoryDisk&)> setUp;
    std::deque<int32_t> answers;  // to the boxes of the sequence
    Events expected;
    Events updated;  // installations that must hold the new documents afterwards
    Events untouched;
  };
  const Row rows[] = {
      {"no fixed drive: no offer, no search",
       [](MemoryDisk& disk) {
         disk.Remove(L"C:\\");
         disk.AddDrive(L'N', drive_type::kNetwork);
         Install(disk, L"N:\\ZEMO On CD");
       },
       {},
       Join({kStart, {Box(16, kNoDrives), L"unload", L"unload"}}),
       {},
       {L"N:\\ZEMO On CD"}},
      {"offer accepted: nothing is searched",
       [](MemoryDisk& disk) {
         Install(disk, kDefaultFolder);
         Install(disk, L"C:\\Other");
       },
       {6},
       Join({kStart, {Box(68, kOffer), L"cancel disabled"}, CopyInto(kDefaultFolder), kCompleted}),
       {kDefaultFolder},
       {L"C:\\Other"}},
      {"offer accepted without a package folder: no copies, not 'not installed'",
       [](MemoryDisk& disk) { Install(disk, kDefaultFolder, false); },
       {6},
       Join({kStart, {Box(68, kOffer), L"cancel disabled"}, kNoCopiesEnd}),
       {},
       {}},
      {"offer declined: drive C is searched and the default found again",
       [](MemoryDisk& disk) { Install(disk, kDefaultFolder); },
       {7},
       Join({kStart,
             {Box(68, kOffer)},
             Search(L"C", Installed(kDefaultFolder)),
             {L"cancel disabled"},
             CopyInto(kDefaultFolder),
             kCompleted}),
       {kDefaultFolder},
       {}},
      {"nothing found: the last search path stays in the secondary pane",
       [](MemoryDisk& disk) { disk.AddFile(L"C:\\Games\\OldZEMO.exe"); },
       {},
       Join({kStart, Search(L"C", {L"C:\\Games\\OldZEMO.exe"}), kNotInstalledEnd}),
       {},
       {}},
      {"found, but without a package folder",
       [](MemoryDisk& disk) { Install(disk, L"C:\\Apps", false); },
       {},
       Join({kStart, Search(L"C", {L"C:\\Apps\\ZEMO.exe"}), {L"cancel disabled"}, kNoCopiesEnd}),
       {},
       {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    auto disk = NewComputer();
    row.setUp(*disk);
    ScriptedDesktop desktop(disk, L"E:\\CD");
    desktop.answers[kTitle] = row.answers;
    EXPECT_EQ(modMain::Main(desktop, desktop), 0);
    EXPECT_EQ(desktop.events, row.expected);
    for (const std::wstring& folder : row.updated) {
      EXPECT_TRUE(Updated(*disk, folder)) << folder;
    }
    for (const std::wstring& folder : row.untouched) {
      EXPECT_EQ(disk->Content(folder + L"\\Packages\\ZEMO\\a.pdf"), "old a") << folder;
      EXPECT_FALSE(disk->Exists(folder + L"\\Packages\\ZEMO\\b.pdf")) << folder;
    }
  }
}

TEST(UpdateSequence, EveryFixedDriveIsSearchedInOrderAndEachReceivingInstallationCopied) {
  auto disk = NewComputer();
  Install(*disk, kDefaultFolder);
  disk->AddDrive(L'D');
  Install(*disk, L"D:");  // at the root: the installation folder is D:
  disk->AddDrive(L'F', drive_type::kRemovable);
  Install(*disk, L"F:\\Stick");
  disk->AddDrive(L'G');
  Install(*disk, L"G:\\Tools", false);
  ScriptedDesktop desktop(disk, L"E:\\CD");
  desktop.answers[kTitle] = {7};
  EXPECT_EQ(modMain::Main(desktop, desktop), 0);
  EXPECT_EQ(desktop.events, Join({kStart,
                                  {Box(68, kOffer)},
                                  Search(L"C", Installed(kDefaultFolder)),
                                  Search(L"D", Installed(L"D:")),
                                  Search(L"G", {L"G:\\Tools\\ZEMO.exe"}),
                                  {L"cancel disabled"},
                                  CopyInto(kDefaultFolder),
                                  CopyInto(L"D:"),
                                  kCompleted}));
  EXPECT_TRUE(Updated(*disk, kDefaultFolder));
  EXPECT_TRUE(Updated(*disk, L"D:"));
  EXPECT_FALSE(Updated(*disk, L"F:\\Stick"));
}

// A service that passes every call on to the in-memory one and notes the folders asked for. It
// can list every drive twice: the one way an executable's path can stand twice in the list.
class SpyService : public FileSystemService {
 public:
  SpyService(FileSystemPtr inner, bool drivesTwice, Events& foldersAsked)
      : inner_(std::move(inner)), drivesTwice_(drivesTwice), foldersAsked_(foldersAsked) {}

  DriveCollection Drives() override {
    std::vector<DrivePtr> drives;
    for (const DrivePtr& drive : inner_->Drives()) {
      drives.insert(drives.end(), drivesTwice_ ? 2 : 1, drive);
    }
    return DriveCollection(std::move(drives));
  }
  FolderPtr GetFolder(const std::wstring& path) override {
    foldersAsked_.push_back(path);
    return inner_->GetFolder(path);
  }
  std::wstring FindEntry(const std::wstring& path, uint32_t mask) override {
    return inner_->FindEntry(path, mask);
  }
  void DeleteFile(const std::wstring& path, bool force) override {
    inner_->DeleteFile(path, force);
  }
  void CopyFile(const std::wstring& source, const std::wstring& destination,
                bool overwrite) override {
    inner_->CopyFile(source, destination, overwrite);
  }
  void ReplaceFile(const std::wstring& source, const std::wstring& destination) override {
    inner_->ReplaceFile(source, destination);
  }

 private:
  FileSystemPtr inner_;
  bool drivesTwice_;
  Events& foldersAsked_;
};

class SpyDesktop : public ScriptedDesktop {
 public:
  using ScriptedDesktop::ScriptedDesktop;
  FileSystemPtr NewFileSystem() override {
    return std::make_shared<SpyService>(ScriptedDesktop::NewFileSystem(), drivesTwice,
                                        foldersAsked);
  }

  bool drivesTwice = false;
  Events foldersAsked;  // by every service object, in order
};

TEST(UpdateSequence, AnInstallationListedTwiceReceivesTheCopyTwice) {
  auto disk = NewComputer();
  Install(*disk, L"C:\\Apps");
  SpyDesktop desktop(disk, L"E:\\CD");
  desktop.drivesTwice = true;
  EXPECT_EQ(modMain::Main(desktop, desktop), 0);
  EXPECT_EQ(desktop.events, Join({kStart,
                                  Search(L"C", Installed(L"C:\\Apps")),
                                  Search(L"C", Installed(L"C:\\Apps")),
                                  {L"cancel disabled"},
                                  CopyInto(L"C:\\Apps"),
                                  CopyInto(L"C:\\Apps"),
                                  kCompleted}));
  EXPECT_TRUE(Updated(*disk, L"C:\\Apps"));
}

TEST(UpdateSequence, TheDefaultExecutableIsAnyFileButNotAFolder) {
  struct Row {
    const char* what;
    bool folder;
    uint32_t attributes;
    bool offered;
  };
  const Row rows[] = {{"plain", false, 0, true},
                      {"hidden", false, attribute::kHidden, true},
                      {"read-only", false, attribute::kReadOnly, true},
                      {"system", false, attribute::kSystem, true},
                      {"a folder named ZEMO.exe", true, 0, false}};
  const std::wstring path = kDefaultFolder + L"\\ZEMO.exe";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    auto disk = NewComputer();
    if (row.folder) {
      disk->AddFolder(path, row.attributes);
    } else {
      disk->AddFile(path, "exe", row.attributes);
    }
    ScriptedDesktop desktop(disk, L"E:\\CD");
    desktop.answers[kTitle] = {6};
    modMain::Main(desktop, desktop);
    // No package folder: an accepted offer ends with No-copies, a search with Not-installed.
    EXPECT_EQ(desktop.events,
              row.offered ? Join({kStart, {Box(68, kOffer), L"cancel disabled"}, kNoCopiesEnd})
                          : Join({kStart, Search(L"C", {}), kNotInstalledEnd}));
  }
}

TEST(UpdateSequence, ThePackageEntryDecidesWhetherACandidateIsCopied) {
  const std::wstring package = L"C:\\Apps\\Packages\\ZEMO";
  const Events skipped = Join({{L"cancel disabled"}, kNoCopiesEnd});
  const Events copied = Join({{L"cancel disabled"}, CopyInto(L"C:\\Apps"), kCompleted});
  struct Row {
    const char* what;
    std::function<void(MemoryDisk&)> make;
    bool shownBySearch;  // a file at the package path is among the search's paths
    int status;
    Events tail;
  };
  const Row rows[] = {
      {"missing", [](MemoryDisk&) {}, false, 0, skipped},
      {"hidden folder", [&](MemoryDisk& disk) { disk.AddFolder(package, attribute::kHidden); },
       false, 0, skipped},
      {"system folder", [&](MemoryDisk& disk) { disk.AddFolder(package, attribute::kSystem); },
       false, 0, skipped},
      {"hidden file", [&](MemoryDisk& disk) { disk.AddFile(package, "", attribute::kHidden); },
       true, 0, skipped},
      {"plain folder", [&](MemoryDisk& disk) { disk.AddFolder(package); }, false, 0, copied},
      {"read-only folder", [&](MemoryDisk& disk) { disk.AddFolder(package, attribute::kReadOnly); },
       false, 0, copied},
      // A plain file counts as present; the copy into it then fails and is reported.
      {"plain file",
       [&](MemoryDisk& disk) { disk.AddFile(package, "not a folder"); },
       true,
       1,
       {L"cancel disabled", Pane2(L""), L"main: Copying New Documents...\r\n\r\nC:\\Apps",
        Box(16,
            L"The update could not be finished because of this error:\r\n\r\nThe system cannot "
            L"find the path specified.\r\n(error 3)" +
                kAfterFailure),
        L"unload"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    auto disk = NewComputer();
    Install(*disk, L"C:\\Apps", false);
    row.make(*disk);
    ScriptedDesktop desktop(disk, L"E:\\CD");
    EXPECT_EQ(modMain::Main(desktop, desktop), row.status);
    Events paths = {L"C:\\Apps\\ZEMO.exe"};
    if (row.shownBySearch) {
      paths.push_back(package);
    }
    EXPECT_EQ(desktop.events, Join({kStart, Search(L"C", paths), row.tail}));
  }
}

TEST(UpdateSequence, TheProgramFolderLosesEveryTrailingBackslashBeforeDocsIsAppended) {
  struct Row {
    std::wstring programFolder;
    std::wstring docs;
  };
  const Row rows[] = {{L"E:\\", L"E:\\Docs"}, {L"E:\\CD\\\\", L"E:\\CD\\Docs"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.programFolder);
    auto disk = NewComputer(row.docs);
    Install(*disk, kDefaultFolder);
    SpyDesktop desktop(disk, row.programFolder);
    desktop.answers[kTitle] = {6};
    EXPECT_EQ(modMain::Main(desktop, desktop), 0);
    EXPECT_EQ(
        desktop.events,
        Join(
            {kStart, {Box(68, kOffer), L"cancel disabled"}, CopyInto(kDefaultFolder), kCompleted}));
    // The copy's source and destination, exactly: nothing else opens a folder after Yes.
    EXPECT_EQ(desktop.foldersAsked, (Events{row.docs, kDefaultFolder + L"\\Packages\\ZEMO"}));
    EXPECT_TRUE(Updated(*disk, kDefaultFolder));
  }
}

TEST(UpdateSequence, AFailedCopyEndsTheRunBeforeLaterInstallationsAndWithoutCompletion) {
  auto disk = NewComputer();
  Install(*disk, L"C:\\A");
  Install(*disk, L"C:\\B");
  disk->SetInUse(L"E:\\CD\\Docs\\b.pdf");
  ScriptedDesktop desktop(disk, L"E:\\CD");
  EXPECT_EQ(modMain::Main(desktop, desktop), 1);
  Events paths = Installed(L"C:\\A");
  for (const std::wstring& path : Installed(L"C:\\B")) {
    paths.push_back(path);
  }
  EXPECT_EQ(desktop.events,
            Join({kStart,
                  Search(L"C", paths),
                  {L"cancel disabled"},
                  CopyInto(L"C:\\A"),
                  {Box(16,
                       L"The update could not be finished because of this error:\r\n\r\nThe "
                       L"process cannot access the file because it is being used by another "
                       L"process.\r\n(error 32)" +
                           kAfterFailure),
                   L"unload"}}));
  EXPECT_EQ(disk->Content(L"C:\\A\\Packages\\ZEMO\\a.pdf"), "new a");  // done before the failure
  EXPECT_FALSE(disk->Exists(L"C:\\A\\Packages\\ZEMO\\b.pdf"));
  EXPECT_EQ(disk->Content(L"C:\\B\\Packages\\ZEMO\\a.pdf"), "old a");
}

// A desktop whose service objects cannot be made, failing with what the test throws.
class FailingDesktop : public ScriptedDesktop {
 public:
  FailingDesktop(std::shared_ptr<MemoryDisk> disk, std::function<void()> fail)
      : ScriptedDesktop(std::move(disk), L"E:\\CD"), fail_(std::move(fail)) {}
  FileSystemPtr NewFileSystem() override {
    fail_();
    return ScriptedDesktop::NewFileSystem();
  }

 private:
  std::function<void()> fail_;
};

TEST(UpdateSequence, AFailureThatIsNotThePlatformsIsReportedWithoutAnErrorNumber) {
  struct Row {
    const char* what;
    std::function<void()> fail;
    std::wstring description;
  };
  const Row rows[] = {
      {"out of memory", [] { throw std::bad_alloc(); }, L"std::bad_alloc"},
      {"non-ASCII text", [] { throw std::runtime_error("caf\xC3\xA9 broken"); }, L"caf?? broken"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    FailingDesktop desktop(NewComputer(), row.fail);
    EXPECT_EQ(modMain::Main(desktop, desktop), 1);
    EXPECT_EQ(desktop.events,
              Join({kStart,
                    {Box(16,
                         L"The update could not be finished because of an error in this "
                         L"program:\r\n\r\n" +
                             row.description + kAfterFailure),
                     L"unload"}}));
  }
}

TEST(UpdateSequence, ACancelDuringTheSearchIsAskedAndEitherEndsTheProgramOrIsForgotten) {
  struct Row {
    const char* what;
    std::set<int64_t> clicks;  // ShowMessage2 calls during which Cancel is clicked
    std::deque<int32_t> answers;
    bool ends;
    Events expected;
  };
  const std::wstring question = BoxEvent(L"Cancel Update?", 68, kCancelQuestion);
  const Row rows[] = {
      {"Yes twice: the search goes on, as if nothing had been asked",
       {2, 3},
       {6, 6},
       false,
       Join({kStart,
             {Searching(L"C"), Pane2(L"C:\\Apps\\ZEMO.exe"), question,
              Pane2(L"C:\\Apps\\Packages\\ZEMO\\a.pdf"), question,
              Pane2(L"C:\\Apps\\Packages\\ZEMO\\keep.pdf"), L"cancel disabled"},
             CopyInto(L"C:\\Apps"),
             kCompleted})},
      {"No: the window is unloaded and the program ends at once",
       {2},
       {7},
       true,
       Join(
           {kStart, {Searching(L"C"), Pane2(L"C:\\Apps\\ZEMO.exe"), question, L"unload", L"end"}})},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    auto disk = NewComputer();
    Install(*disk, L"C:\\Apps");
    ScriptedDesktop desktop(disk, L"E:\\CD");
    desktop.clickAtShow2 = row.clicks;
    desktop.answers[L"Cancel Update?"] = row.answers;
    if (row.ends) {
      EXPECT_THROW(modMain::Main(desktop, desktop), ProgramEnded);
    } else {
      EXPECT_EQ(modMain::Main(desktop, desktop), 0);
    }
    EXPECT_EQ(desktop.events, row.expected);
    EXPECT_EQ(Updated(*disk, L"C:\\Apps"), !row.ends);
  }
}

TEST(UpdateSequence, DeleteAllFilesRemovesTheDocumentsNamedInTheSourceShowingEachName) {
  auto disk = NewComputer();
  Install(*disk, L"C:\\Apps");
  ScriptedDesktop desktop(disk, L"E:\\CD");
  frmMain form(desktop, desktop);
  form.DeleteAllFiles(L"E:\\CD\\Docs", L"C:\\Apps\\Packages\\ZEMO");
  EXPECT_EQ(desktop.events, (Events{Pane2(L"a.pdf"), Pane2(L"b.pdf")}));
  EXPECT_EQ(disk->List(L"C:\\Apps\\Packages\\ZEMO"), (Events{L"keep.pdf"}));
  EXPECT_EQ(disk->List(L"E:\\CD\\Docs"), (Events{L"a.pdf", L"b.pdf"}));
}

}  // namespace
}  // namespace docrecover::testing
