#pragma once

// frmMain: the program's one window object and the carrier of the update sequence. The window
// itself is a MainWindowView (the Win32 window, or a scripted one in tests); frmMain owns what the
// sequence keeps for the window's life: the shared service object, the drive walker and the
// flag a click on Cancel raises. The service and the walker are created on first use.

#include <memory>
#include <optional>
#include <string>

#include "discovery/SearchHost.h"
#include "discovery/StringList.h"
#include "platform/Desktop.h"
#include "transfer/DocumentManifest.h"
#include "walker/crtDTree.h"

namespace docrecover {

class frmMain : private SearchHost {
 public:
  frmMain(Desktop& desktop, MainWindowView& window);
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;
  ~frmMain() override;

  // The update sequence, from the first progress text to the final box. Failures pass up.
  void Main();
  // Copies the files directly in pSrcFolder into pDestFolder, replacing same-named documents;
  // with the program's list of documents, those on the list only, each checked against it.
  void CopyAllFiles(const std::wstring& pSrcFolder, const std::wstring& pDestFolder);
  // Deletes from pDestFolder the plain files named like those directly in pSrcFolder.
  void DeleteAllFiles(const std::wstring& pSrcFolder, const std::wstring& pDestFolder);
  // Only raises CancelRequested; the drive search acts on it.
  void cmdCancel_Click() { cancelRequested_ = true; }

 private:
  void ShowMessage(const std::wstring& text) { window_.ShowMessage(text); }
  void ShowMessage2(const std::wstring& text) override { window_.ShowMessage2(text); }
  int32_t MessageBox(const std::wstring& text, int32_t style);

  // The window's members, as the drive search reaches them.
  FileSystemService& FileSystem() override;
  crtDTree& DriveWalker() override;
  bool CancelRequested() const override { return cancelRequested_; }
  void ResetCancelRequested() override { cancelRequested_ = false; }
  int32_t ShowMessageBox(const std::wstring& text, int32_t style,
                         const std::wstring& title) override;
  void UnloadWindow() override { window_.Unload(); }
  void EndProgram() override;

  Desktop& desktop_;
  MainWindowView& window_;
  FileSystemPtr fileSystem_;
  std::unique_ptr<crtDTree> driveWalker_;
  bool cancelRequested_ = false;
  std::optional<DocumentManifest> documents_;  // the program's list; none in a build without one
};

}  // namespace docrecover
