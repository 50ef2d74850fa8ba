// The drive search on an in-memory computer. The drive listing and the merge of each drive's finds
// are proven by the update sequence's transcripts (tests/app): every computer there has a
// removable, a CD and fixed drives, and one search finds installations on two drives.

#include <gtest/gtest.h>

#include "app/ScriptedDesktop.h"
#include "discovery/SearchDrive.h"

namespace docrecover::testing {
namespace {

// Drive D's files in the order the walk visits them.
const StringList kFiles = {L"D:\\a.txt",          L"D:\\ZEMO.exe",       L"D:\\a\\OldZEMO.exe",
                           L"D:\\a\\zemo.EXE",    L"D:\\b\\ZEMO.ex",     L"D:\\b\\ZEMO.exe.bak",
                           L"D:\\b\\c\\ZEMO.exe", L"D:\\b\\c\\Ärger.exe"};

// Searches drive for name. D holds kFiles, N is not ready. Cancel is clicked while the events
// numbered in clicks are shown, and the questions get answers. The failing call fails with access
// denied (by default none: a search here makes fewer calls). Gives what was shown and asked, then
// the paths found or "ended".
StringList Search(const std::wstring& drive, const std::set<size_t>& clicks = {},
                  const std::vector<int32_t>& answers = {}, int64_t failingCall = 1000,
                  const std::wstring& name = L"ZEMO.exe") {
  ScriptedDesktop host;
  for (const std::wstring& file : kFiles) {
    host.disk->AddFile(file);
  }
  host.disk->AddDrive(L'N');
  host.disk->SetDriveNotReady(L'N');
  host.disk->FailNthCall(failingCall, /*access denied*/ 5);
  host.clicks = clicks;
  host.answers = answers;
  try {
    for (const std::wstring& path : SearchDrive(host, drive, name)) {
      host.events.push_back(L"found " + path);
    }
  } catch (const Ended&) {
    host.events.push_back(L"ended");
  }
  return host.events;
}

// Every file is shown in walk order and whole upper-cased names match. A click on Cancel is asked
// about after the file: Yes (or any answer but No) goes on, No unloads and ends the program. A
// drive whose root cannot be opened gives nothing and leaves the walker alone. Upper-casing goes
// beyond ASCII.
TEST(SearchDrive, ShowsEveryFileMatchesWholeNamesAndHonoursCancel) {
  const StringList& f = kFiles;
  const std::wstring q = L"Cancel Update? 68: " + std::wstring(kCancelQuestion);
  EXPECT_EQ(Search(L"D", {3}, {box::kYes}),
            (StringList{L"walker", f[0], f[1], q, f[2], f[3], f[4], f[5], f[6], f[7],
                        L"found " + f[1], L"found " + f[3], L"found " + f[6]}));
  EXPECT_EQ(Search(L"D", {2, 6}, {1, box::kNo}),
            (StringList{L"walker", f[0], q, f[1], f[2], f[3], q, L"unload", L"ended"}));
  EXPECT_EQ(Search(L"N"), StringList{});
  EXPECT_EQ(Search(L"D", {}, {}, 1000, L"äRGER.EXE").back(), L"found " + f[7]);
}

// Whichever call fails, the search goes on (a clean one here makes fewer than 50 calls).
TEST(SearchDrive, AbsorbsEachFailingCall) {
  for (int64_t n = 1; n <= 100; ++n) {
    EXPECT_NO_THROW(Search(L"D", {}, {}, n)) << "failing call " << n;
  }
}

}  // namespace
}  // namespace docrecover::testing
