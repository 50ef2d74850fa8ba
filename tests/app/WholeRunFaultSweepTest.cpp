// The whole update sequence, offer declined so that the drives are searched, with two
// installations, repeated with the Nth service call failing for every N up to the calls of a
// clean run. Whatever fails, the run ends properly and no document is lost or left partial.

#include <gtest/gtest.h>

#include "ScriptedDesktop.h"
#include "app/modMain.h"
#include "platform/PlatformError.h"

namespace docrecover::testing {
namespace {

const std::wstring kTitle = L"ZEMO On CD Doc Recover";
const std::wstring kInstallations[] = {L"C:\\Program Files\\ZEMO On CD", L"D:\\Tools\\ZEMO"};
const std::string kOld[] = {"old a", "old b"};
const std::string kNew[] = {"new a", "new b"};
const wchar_t* const kDocs[] = {L"a.pdf", L"b.pdf"};

std::shared_ptr<MemoryDisk> Computer() {
  auto disk = MemoryDisk::Create();
  disk->AddDrive(L'C');
  disk->AddDrive(L'D');
  disk->AddDrive(L'E', drive_type::kCdRom);
  for (int i = 0; i < 2; ++i) {
    disk->AddFile(std::wstring(L"E:\\Docs\\") + kDocs[i], kNew[i]);
  }
  for (const std::wstring& folder : kInstallations) {
    disk->AddFile(folder + L"\\ZEMO.exe", "exe");
    disk->AddFile(folder + L"\\Packages\\ZEMO\\a.pdf", "old a", attribute::kReadOnly);
    disk->AddFile(folder + L"\\Packages\\ZEMO\\b.pdf", "old b");
    disk->AddFile(folder + L"\\Packages\\ZEMO\\notes.txt", "mine");
  }
  disk->AddFile(L"D:\\Tools\\readme.txt");
  return disk;
}

struct Outcome {
  int status = -1;
  std::vector<std::wstring> events;
};

Outcome RunOn(const std::shared_ptr<MemoryDisk>& disk) {
  ScriptedDesktop desktop(disk, L"E:\\");
  desktop.answers[kTitle] = {7};  // decline the offer: search every drive
  Outcome outcome;
  outcome.status = modMain::Main(desktop, desktop);
  outcome.events = desktop.events;
  return outcome;
}

bool Shown(const Outcome& outcome, const std::wstring& prefix) {
  for (const std::wstring& event : outcome.events) {
    if (event.rfind(prefix, 0) == 0) {
      return true;
    }
  }
  return false;
}

TEST(WholeRunFaultSweep, NoFaultEverLosesADocumentOrReportsAFailedCopyAsDone) {
  auto clean = Computer();
  const int64_t before = clean->Calls();
  ASSERT_EQ(RunOn(clean).status, 0);
  const int64_t calls = clean->Calls() - before;
  ASSERT_GT(calls, 20);
  RecordProperty("service_calls_of_a_clean_run", std::to_string(calls));

  const uint32_t errors[] = {error::kAccessDenied, error::kSharingViolation, error::kDiskFull,
                             error::kNotReady, error::kPathNotFound};
  for (int64_t n = 1; n <= calls; ++n) {
    SCOPED_TRACE("failing call " + std::to_string(n));
    auto disk = Computer();
    disk->FailNthCall(n, errors[n % 5]);
    const Outcome outcome = RunOn(disk);

    // One of the ends: a final box of the sequence, or the error report with status 1.
    const std::wstring last = outcome.events.size() >= 2 ? outcome.events.end()[-2] : L"";
    ASSERT_EQ(outcome.events.back(), L"unload");
    ASSERT_EQ(last.rfind(L"box " + kTitle, 0), 0u) << last;
    const bool reported = last.rfind(L"box " + kTitle + L" 16: The update could not", 0) == 0;
    EXPECT_EQ(outcome.status, reported ? 1 : 0);

    const bool completed = Shown(outcome, L"box " + kTitle + L" 64: ");
    for (const std::wstring& folder : kInstallations) {
      const std::wstring package = folder + L"\\Packages\\ZEMO\\";
      const bool copied = Shown(outcome, L"main: Copying New Documents...\r\n\r\n" + folder);
      for (int i = 0; i < 2; ++i) {
        const auto content = disk->Content(package + kDocs[i]);
        ASSERT_TRUE(content == kOld[i] || content == kNew[i]) << package << kDocs[i];
        // Completion is reported only when every copy that ran put every document in place.
        if (completed && copied) {
          EXPECT_EQ(content, kNew[i]) << package << kDocs[i];
        }
      }
      EXPECT_EQ(disk->Content(package + L"notes.txt"), "mine");
      for (const std::wstring& name : disk->List(package)) {
        EXPECT_EQ(name.find(L"docrecover-tmp"), std::wstring::npos) << package << name;
      }
    }
  }
}

}  // namespace
}  // namespace docrecover::testing
