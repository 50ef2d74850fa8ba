#include "discovery/SearchDrive.h"

#include <utility>

#include "platform/Desktop.h"
#include "platform/PlatformError.h"
#include "platform/TextCase.h"
#include "walker/crtDTree.h"

namespace docrecover {

namespace {

// Runs one step of the search. A platform failure of the step is absorbed: the search is a
// best-effort look at a whole drive, and one unreadable item must not end it. Returns whether
// the step succeeded.
template <class Step>
bool Try(Step&& step) {
  try {
    std::forward<Step>(step)();
    return true;
  } catch (const PlatformError&) {
    return false;
  }
}

// Asks the cancel question; on No the window is unloaded and the program ends. A question that
// cannot be shown lets the search go on, and an unload that fails still ends the program.
void AnswerCancel(SearchHost& host) {
  host.ResetCancelRequested();
  int32_t answer = box::kYes;
  Try([&] { answer = host.ShowMessageBox(kCancelQuestion, box::kYesNoInformation, kCancelTitle); });
  if (answer == box::kNo) {
    Try([&] { host.UnloadWindow(); });
    host.EndProgram();
  }
}

// Whether name, upper-cased in place, equals wanted (upper-cased already). Upper-casing maps
// each code unit to one, so a name of another length cannot match and is left as it is.
bool IsWanted(std::wstring& name, const std::wstring& wanted) {
  if (name.size() != wanted.size()) {
    return false;
  }
  name = UpperCase(std::move(name));
  return name == wanted;
}

}  // namespace

StringList SearchDrive(SearchHost& host, const std::wstring& drive, std::wstring fileName) {
  const std::wstring wanted = UpperCase(std::move(fileName));
  StringList found;

  FolderPtr root;
  if (!Try([&] { root = host.FileSystem().GetFolder(drive + L":\\"); })) {
    return found;
  }
  crtDTree& walker = host.DriveWalker();
  Try([&] { walker.SetRoot(root, 0); });
  // A walker that could not start on the root never reports Finished: there is nothing to walk.
  if (walker.ErrorNumber() != 0) {
    return found;
  }

  // Every file's path and name are read into these two, so that once they have grown to the
  // longest, a file costs the search no allocation.
  std::wstring path;
  std::wstring name;
  bool finished = false;
  while (!finished) {
    Try([&] { walker.MoveNextFile(); });
    FilePtr file;
    Try([&] { file = walker.GetFile(); });
    if (file != nullptr) {
      // A file whose path cannot be read is neither shown nor returned; one whose name cannot be
      // read is shown but cannot match.
      if (Try([&] { file->PathInto(path); })) {
        Try([&] { host.ShowMessage2(path); });
        if (Try([&] { file->NameInto(name); }) && IsWanted(name, wanted)) {
          found.push_back(path);
        }
      }
      if (host.CancelRequested()) {
        AnswerCancel(host);
      }
    }
    if (!Try([&] { finished = walker.Finished(); })) {
      break;
    }
  }
  return found;
}

}  // namespace docrecover
