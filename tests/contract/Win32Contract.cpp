// The contract suite's test bed on real files in the Wine prefix, and what only the Win32 service
// has: its long path forms. Which reparse tags lead elsewhere is seen by the walker's model test,
// which walks Wine's, Windows' and cloud tags; that a plain folder is no link, by the contract.
// What it does with drive types and with a document another program holds open is seen end to end
// (tests/e2e).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>

#include "ContractDriver.h"
#include "app/DocumentCheck.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Paths.h"

// Last: it renames DeleteFile and the like, which must keep their names in the headers above.
#include <windows.h>

namespace docrecover::testing {

namespace {

// Made afresh from the Linux side by scratch.sh, a CTest fixture, with the link loop in it (Wine 8
// cannot make a link from Windows code) and two names that differ only in case.
const std::wstring kScratch = L"C:\\contract-scratch";

// The driver's own "\\?\" form, so that it does not lean on the code under test to pass MAX_PATH.
std::filesystem::path Long(const std::wstring& path) {
  return L"\\\\?\\" + path;
}

void Mark(const std::wstring& path, uint32_t attributes) {
  EXPECT_TRUE(attributes == 0 || SetFileAttributesW(Long(path).c_str(), attributes))
      << GetLastError();
}

// Wine has no MAX_PATH limit, so only here are the "\\?\" forms Windows needs past it checked.
TEST(Win32Contract, LongFormsAreWindowsOwnAndComeBackOrdinary) {
  // A path as given, its long form, and that form's ordinary one.
  const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*> rows[] = {
      {L"C:\\a\\..\\b.", L"\\\\?\\C:\\b", L"C:\\b"},         // made full: the dot goes
      {L"C:\\a.\\b ", L"\\\\?\\C:\\a.\\b ", L"C:\\a.\\b "},  // full and plain: kept as it is
      {L"\\\\server\\share\\a.", L"\\\\?\\UNC\\server\\share\\a.", L"\\\\server\\share\\a."},
      {L"\\\\?\\C:\\", L"\\\\?\\C:\\", L"C:\\"},
      {L"\\\\?\\Volume{1}\\", L"\\\\?\\Volume{1}\\", L"\\\\?\\Volume{1}\\"},
  };
  for (const auto& [given, longForm, ordinary] : rows) {
    EXPECT_EQ(win32::LongForm(given), longForm);
    EXPECT_EQ(win32::OrdinaryForm(longForm), ordinary);
  }
}

// A listing may give two names that differ only in case (a disc, a network share or a folder set
// case-sensitive can): which one Windows opens is anybody's guess, so the disc is refused.
TEST(Win32Contract, TwoNamesThatDifferOnlyInCaseAreRefused) {
  EXPECT_THROW(CheckNamesAndSizes(Service(), {}, kScratch + L"\\twins"), DocumentsRefused);
}

}  // namespace

FileSystemService& Service() {
  static const FileSystemPtr service = NewWin32FileSystem();
  return *service;
}

std::wstring NewScratchFolder() {
  // Named by the time too: each case runs in a process of its own, and Wine reuses process ids.
  static int folders = 0;
  const std::wstring folder = kScratch + L"\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++folders);
  MakeFolder(folder);
  return folder;
}

void MakeFolder(const std::wstring& path, uint32_t attributes) {
  // Under a scratch folder that scratch.sh has made: run the tests through ctest.
  EXPECT_TRUE(CreateDirectoryW(Long(path).c_str(), /*lpSecurityAttributes=*/nullptr))
      << GetLastError();
  Mark(path, attributes);
}

void MakeFile(const std::wstring& path, const std::string& content, uint32_t attributes) {
  EXPECT_TRUE(std::ofstream(Long(path), std::ios::binary) << content);
  Mark(path, attributes);  // once written: a read-only mark would stop the writing
}

std::wstring LinkLoop() {
  return kScratch + L"\\links\\real";
}

std::optional<std::string> Content(const std::wstring& path) {
  std::ifstream file(Long(path), std::ios::binary);
  return file ? std::optional(std::string(std::istreambuf_iterator<char>(file), {})) : std::nullopt;
}

}  // namespace docrecover::testing
