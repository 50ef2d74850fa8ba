#include "app/frmMain.h"

#include "app/DocumentCheck.h"
#include "app/Texts.h"
#include "app/modMain.h"
#include "discovery/GetFixedDrives.h"
#include "discovery/MergePathLists.h"
#include "discovery/SearchDrive.h"
#include "transfer/CopyAllFiles.h"
#include "transfer/DeleteAllFiles.h"

namespace docrecover {

namespace {

// Folders are held without a trailing backslash, so that suffixes beginning with one can be
// appended: the root E:\ becomes E:.
std::wstring WithoutTrailingBackslashes(std::wstring folder) {
  while (!folder.empty() && folder.back() == L'\\') {
    folder.pop_back();
  }
  return folder;
}

}  // namespace

frmMain::frmMain(Desktop& desktop, MainWindowView& window) : desktop_(desktop), window_(window) {
  window_.SetCancelHandler([this] { cmdCancel_Click(); });
}

frmMain::~frmMain() {
  window_.SetCancelHandler(nullptr);
}

void frmMain::Main() {
  const std::wstring supportText = texts::SupportText();
  const std::wstring appFolder = WithoutTrailingBackslashes(desktop_.ProgramFolder());

  const std::wstring docsFolder = appFolder + texts::kDocsSuffix;

  window_.Show();
  ShowMessage(texts::kAnalyzing);
  ShowMessage2(L"");
  // A program built with a list copies only what the list vouches for, and refuses a disc that
  // does not hold it before asking anything.
  if (const std::optional<std::string> list = desktop_.DocumentList()) {
    documents_ = ParseManifest(*list);
    CheckNamesAndSizes(FileSystem(), *documents_, docsFolder);
  }

  const StringList driveList = GetFixedDrives(FileSystem());
  if (ArrayCount(driveList) == 0) {
    MessageBox(texts::NoDrivesBox(supportText), box::kStop);
    window_.Unload();
    return;
  }

  bool searchDrives = true;
  StringList installList;
  if (modMain::FileExists(FileSystem(), texts::kDefaultExecutable) &&
      MessageBox(texts::OfferBox(), box::kYesNoInformation) == box::kYes) {
    installList = {texts::kDefaultExecutable};
    searchDrives = false;
  }

  if (searchDrives) {
    for (const std::wstring& drive : driveList) {
      ShowMessage(texts::Searching(drive));
      installList = MergePathLists(installList, SearchDrive(*this, drive, texts::kExecutableName));
    }
  }

  if (ArrayCount(installList) == 0) {
    MessageBox(texts::NotInstalledBox(supportText), box::kWarning);
    window_.Unload();
    return;
  }

  // From here on no cancel request can arise: documents are being copied.
  window_.DisableCancel();
  // Read once before any installation is touched, so that a disc that fails its list changes
  // nothing. Each copy is checked again before it takes its document's place.
  if (documents_) {
    CheckDigests(FileSystem(), window_, *documents_, docsFolder);
  }

  int32_t updateCount = 0;
  for (const std::wstring& executable : installList) {
    const std::wstring installFolder =
        WithoutTrailingBackslashes(FileSystem().GetParentFolderName(executable));
    const std::wstring packageFolder = installFolder + texts::kPackageSuffix;
    if (FileSystem().FindEntry(packageFolder, attribute::kDirectory).empty()) {
      continue;
    }
    ShowMessage2(L"");
    ShowMessage(texts::Copying(installFolder));
    CopyAllFiles(docsFolder, packageFolder);
    ++updateCount;
  }

  if (updateCount != 0) {
    ShowMessage2(L"");
    ShowMessage(texts::kUpdating);
    MessageBox(texts::CompletionBox(), box::kInformation);
    return;
  }
  ShowMessage(texts::kFoundNoCopies);
  ShowMessage2(L"");
  MessageBox(texts::NoCopiesBox(supportText), box::kWarning);
}

void frmMain::CopyAllFiles(const std::wstring& pSrcFolder, const std::wstring& pDestFolder) {
  const FileSystemPtr own = desktop_.NewFileSystem();
  docrecover::CopyAllFiles(*own, window_, pSrcFolder, pDestFolder,
                           documents_ ? &*documents_ : nullptr);
}

void frmMain::DeleteAllFiles(const std::wstring& pSrcFolder, const std::wstring& pDestFolder) {
  const FileSystemPtr own = desktop_.NewFileSystem();
  docrecover::DeleteAllFiles(*own, window_, pSrcFolder, pDestFolder);
}

int32_t frmMain::MessageBox(const std::wstring& text, int32_t style) {
  return desktop_.ShowMessageBox(text, style, texts::kMsgTitle);
}

FileSystemService& frmMain::FileSystem() {
  if (!fileSystem_) {
    fileSystem_ = desktop_.NewFileSystem();
  }
  return *fileSystem_;
}

crtDTree& frmMain::DriveWalker() {
  if (!driveWalker_) {
    driveWalker_ = std::make_unique<crtDTree>([this] { return desktop_.NewFileSystem(); });
  }
  return *driveWalker_;
}

int32_t frmMain::ShowMessageBox(const std::wstring& text, int32_t style,
                                const std::wstring& title) {
  return desktop_.ShowMessageBox(text, style, title);
}

void frmMain::EndProgram() {
  desktop_.EndProgram();
}

}  // namespace docrecover
