// The whole run on an in-memory computer with the scripted desktop. Each scenario is one expected
// transcript of what the user sees, its exit, and the installations that got the new document.

#include <gtest/gtest.h>

#include <functional>

#include "ScriptedDesktop.h"
#include "app/modMain.h"

namespace docrecover::testing {
namespace {

using Events = std::vector<std::wstring>;

Events operator+(Events events, const Events& more) {
  events.insert(events.end(), more.begin(), more.end());
  return events;
}

// Box events begin with the title and the style.
const std::wstring kTitle = L"ZEMO On CD Doc Recover ";
const std::wstring kSupport =
    L"\r\n\r\nOrvell Technical Support\r\nEmail: support@docrecover.invalid\r\nPhone: 555-0142";
// Not-installed and No-copies differ in one word between these two.
const std::wstring kRestart =
    L"\r\n\r\nIf you're sure that ZEMO On CD is installed on this computer, please restart your "
    L"computer and run this updater again. If, after restarting your computer and running this ";
const std::wstring kContact =
    L" a second time you still encounter this error, contact Orvell technical support for "
    L"assistance.";
const std::wstring kNoDrives =
    L"ZEMO On CD Doc Recover 16: Windows is reporting that this computer has no hard drives.\r\n"
    L"\r\nPlease restart your computer and run this program again.\r\n\r\nIf, after restarting "
    L"your computer you still see this message, contact Orvell for assistance." +
    kSupport;
const std::wstring kOffer =
    L"ZEMO On CD Doc Recover 68: The ZEMO On CD program has been located on drive C in the "
    L"following folder:\r\n\r\nC:\\Program Files\\ZEMO On CD\r\n\r\nWe recommend that you click "
    L"YES to continue normally and update your ZEMO On CD program.\r\n\r\nYou may optionally click "
    L"NO if you want this updater to search your computer for additional installations of the "
    L"ZEMO On CD program. We recommend that you do this only if you've already run this updater "
    L"and found that your ZEMO On CD program was not updated.";

const std::wstring kDefault = L"C:\\Program Files\\ZEMO On CD";
const std::wstring kPackage = L"\\Packages\\ZEMO";
const Events kStart = {L"show", L"main: Analyzing your system, Please wait...", L""};
const Events kCompleted = {L"", L"main: Updating your system, please wait...",
                           kTitle + L"64: ZEMO On CD Doc Repair has completed successfully.",
                           L"unload", L"exit 0"};
const Events kNoCopies = {
    L"main: ZEMO On CD Update found no copies of ZEMO On CD on your computer.", L"",
    kTitle + L"48: This updater has found no copies of ZEMO On CD on your computer." + kRestart +
        L"program" + kContact + kSupport,
    L"unload", L"exit 0"};
const Events kNotInstalled = {
    kTitle + L"48: Windows is reporting that ZEMO On CD is not installed on this computer." +
        kRestart + L"updater" + kContact + kSupport,
    L"unload", L"unload", L"exit 0"};

// The error report, for a failure that ends the run, and its end.
Events Failed(const std::wstring& report) {
  return {kTitle + L"16: The update could not be finished because of " + report +
              L"\r\n\r\nDocuments copied before the error are in place; no other document was "
              L"changed.",
          L"unload", L"exit 1"};
}

// The searching text of a drive, then the files shown on it.
Events Search(const std::wstring& drive, const Events& files) {
  return Events{L"main: Welcome\r\n\r\nZEMO On CD Update is now searching drive " + drive +
                L" for all copies of the ZEMO On CD program.\r\n\r\nPlease wait..."} +
         files;
}
// The files of an installation with a package folder, as the search shows them.
Events Found(const std::wstring& folder) {
  return {folder + L"\\ZEMO.exe", folder + kPackage + L"\\a.pdf"};
}
Events CopyInto(const std::wstring& folder) {
  return {L"", L"main: Copying New Documents...\r\n\r\n" + folder, L"a.pdf"};
}

// Runs the program from the root of the CD in E, which holds the new a.pdf, on a computer with a
// removable drive A and the fixed drives named in fixed, in that order. Each folder of installs
// holds the executable and a package folder with an old a.pdf; each of bare the executable and a
// hidden package folder. stage then changes what it will.
using Stage = std::function<void(ScriptedDesktop&)>;
Events Transcript(const std::wstring& fixed, const Events& installs, const Events& bare,
                  const std::vector<int32_t>& answers = {}, const Stage& stage = {}) {
  ScriptedDesktop desktop;
  MemoryDisk& disk = *desktop.disk;
  disk.AddDrive(L'A', drive_type::kRemovable);
  disk.AddDrive(L'E', drive_type::kCdRom);
  disk.AddFile(L"E:\\Docs\\a.pdf", "new", attribute::kReadOnly);
  for (const wchar_t letter : fixed) {
    disk.AddDrive(letter);
  }
  for (const std::wstring& folder : installs) {
    // The default executable counts whatever its marks.
    disk.AddFile(folder + L"\\ZEMO.exe", "", folder == kDefault ? 7 : 0);
    disk.AddFile(folder + kPackage + L"\\a.pdf", "old");
  }
  for (const std::wstring& folder : bare) {
    disk.AddFile(folder + L"\\ZEMO.exe");
    disk.AddFolder(folder + kPackage, attribute::kHidden);
  }
  if (stage) {
    stage(desktop);
  }
  desktop.answers = answers;
  desktop.events.push_back(L"exit " + std::to_wstring(modMain::Main(desktop, desktop)));
  for (const std::wstring& folder : installs) {
    if (disk.Content(folder + kPackage + L"\\a.pdf") == "new") {
      desktop.events.push_back(L"updated " + folder);
    }
  }
  return desktop.events;
}

TEST(UpdateSequence, EachScenarioGivesItsWholeTranscript) {
  // No fixed drive: no offer and no search.
  EXPECT_EQ(Transcript(L"", {}, {}), (kStart + Events{kNoDrives, L"unload", L"unload", L"exit 0"}));
  // The offer accepted: nothing is searched, and only the default installation is copied.
  EXPECT_EQ(Transcript(L"C", {kDefault, L"C:\\Other"}, {}, {box::kYes}),
            (kStart + Events{kOffer, L"cancel disabled"} + CopyInto(kDefault) + kCompleted +
             Events{L"updated " + kDefault}));
  // The offer declined: every fixed drive is searched in order, C too, and each installation with
  // a package folder is copied, one at a drive's root too.
  EXPECT_EQ(
      Transcript(L"CD", {kDefault, L"D:"}, {L"C:\\Bare"}, {box::kNo}),
      (kStart + Events{kOffer} + Search(L"C", Events{L"C:\\Bare\\ZEMO.exe"} + Found(kDefault)) +
       Search(L"D", Found(L"D:")) + Events{L"cancel disabled"} + CopyInto(kDefault) +
       CopyInto(L"D:") + kCompleted + Events{L"updated " + kDefault, L"updated D:"}));
  // Nothing found, and found without a package folder.
  EXPECT_EQ(Transcript(L"C", {}, {}), (kStart + Search(L"C", {}) + kNotInstalled));
  EXPECT_EQ(Transcript(L"C", {}, {L"C:\\Bare"}), (kStart + Search(L"C", {L"C:\\Bare\\ZEMO.exe"}) +
                                                  Events{L"cancel disabled"} + kNoCopies));
  // A failing copy ends the run with its report: no later installation, no completion.
  const Stage copyFails = [](auto& desktop) { desktop.disk->FailNthCall(Op::kCopyFile, 1, 32); };
  EXPECT_EQ(
      Transcript(L"C", {L"C:\\A", L"C:\\B"}, {}, {}, copyFails),
      (kStart + Search(L"C", Found(L"C:\\A") + Found(L"C:\\B")) + Events{L"cancel disabled"} +
       CopyInto(L"C:\\A") + Failed(L"this error:\r\n\r\nError 32 (in memory): \r\n(error 32)")));
}

// The program carries list and the disc's Docs hold the files of disc (name=content). With
// changeAtCopy, the disc's a.pdf reads
// otherwise once its copy has begun.
Stage Listed(const Events& disc, const std::string& list = ListText({L"a.pdf"}),
             bool changeAtCopy = false) {
  return [=](ScriptedDesktop& desktop) {
    MemoryDisk& disk = *desktop.disk;
    disk.Erase(*disk.Find(L"E:\\Docs\\a.pdf"));
    for (const std::wstring& file : disc) {
      const size_t equals = file.find(L'=');
      disk.AddFile(L"E:\\Docs\\" + file.substr(0, equals),
                   std::string(file.begin() + equals + 1, file.end()));
    }
    desktop.onShow2 = [&disk, changeAtCopy, shown = 0](const std::wstring& text) mutable {
      if (changeAtCopy && text == L"a.pdf" && ++shown == 2) {
        disk.AddFile(L"E:\\Docs\\a.pdf", "bad");
      }
    };
    desktop.documents = list;
  };
}

// A program built with a list copies only what it vouches for. A disc that does not hold it is
// refused before the first question when a name or a size differs, once Cancel is disabled when a
// digest does; a copy that reads otherwise than its check is never renamed in. Nothing is touched.
TEST(UpdateSequence, OnlyWhatTheListVouchesForIsInstalled) {
  const auto refused = [](const std::wstring& problem) {
    return Events{kTitle +
                      L"16: The documents on this disc are not the ones this updater was made "
                      L"with, so it has changed nothing on your computer.\r\n\r\n" +
                      problem +
                      L"\r\n\r\nThe disc may be damaged, or its files changed. Please run the "
                      L"updater from the original disc. If you still see this message, contact "
                      L"Orvell for assistance." +
                      kSupport,
                  L"unload", L"exit 1"};
  };
  const Events checked = {kOffer, L"cancel disabled", L"a.pdf"};
  const std::pair<Stage, Events> rows[] = {
      {Listed({L"a.pdf=new", L"Thumbs.db=x"}),
       checked + CopyInto(kDefault) + kCompleted + Events{L"updated " + kDefault}},
      {Listed({L"b.pdf=new"}), refused(L"The document \"a.pdf\" is missing from the disc.")},
      {Listed({L"a.pdf=newer"}),
       refused(L"The document \"a.pdf\" on the disc has 5 bytes instead of 3.")},
      {Listed({L"a.pdf=bad"}),
       checked + refused(L"The document \"a.pdf\" on the disc has been changed or damaged.")},
      {Listed({L"a.pdf=new"}, ListText({L"a.pdf"}), true),
       checked + CopyInto(kDefault) +
           Failed(L"this error:\r\n\r\nThe document " + kDefault + kPackage +
                  L"\\a.pdf was not replaced: its new copy is not the document this updater "
                  L"vouches for. The disc may be damaged or changed.\r\n(error 13)")},
      // A list that does not parse is the program's own fault, reported, never taken for none.
      {Listed({L"a.pdf=new"}, "DocRecover documents 1\nx\n"),
       Failed(L"an error in this program:\r\n\r\nthe list of documents in this program is "
              L"damaged (line 2)")},
  };
  for (const auto& [stage, expected] : rows) {
    EXPECT_EQ(Transcript(L"C", {kDefault}, {}, {box::kYes}, stage), kStart + expected);
  }
}

}  // namespace
}  // namespace docrecover::testing
