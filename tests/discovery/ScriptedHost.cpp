#include "ScriptedHost.h"

#include "platform/Desktop.h"
#include "platform/PlatformError.h"

namespace docrecover {

ScriptedHost::ScriptedHost(std::shared_ptr<testing::MemoryDisk> disk) : disk_(std::move(disk)) {}

FileSystemService& ScriptedHost::FileSystem() {
  if (fileSystemFails) {
    throw PlatformError(error::kAccessDenied, L"no service object");
  }
  if (fileSystem == nullptr) {
    fileSystem = testing::NewMemoryFileSystem(disk_);
  }
  return *fileSystem;
}

crtDTree& ScriptedHost::DriveWalker() {
  ++walkerUses;
  if (walker_ == nullptr) {
    walker_ =
        std::make_unique<crtDTree>([disk = disk_] { return testing::NewMemoryFileSystem(disk); });
  }
  return *walker_;
}

void ScriptedHost::ShowMessage2(const std::wstring& text) {
  shown.push_back(text);
  events.push_back(L"show " + text);
  if (clickDuringShow.count(shown.size()) != 0) {
    cancelRequested = true;
  }
  if (showFails) {
    throw PlatformError(error::kAccessDenied, L"cannot repaint");
  }
}

int32_t ScriptedHost::ShowMessageBox(const std::wstring& text, int32_t style,
                                     const std::wstring& title) {
  events.push_back(L"box " + title + L"|" + std::to_wstring(style) + L"|" + text);
  if (boxFails) {
    throw PlatformError(error::kAccessDenied, L"no box");
  }
  const int32_t answer = answers.empty() ? box::kYes : answers.front();
  if (!answers.empty()) {
    answers.pop_front();
  }
  return answer;
}

void ScriptedHost::UnloadWindow() {
  events.push_back(L"unload");
  if (unloadFails) {
    throw PlatformError(error::kAccessDenied, L"cannot unload");
  }
}

void ScriptedHost::EndProgram() {
  events.push_back(L"end");
  throw ProgramEnded{};
}

}  // namespace docrecover
