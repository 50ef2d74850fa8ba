#include "ContractDriver.h"
#include "support/MemoryFileSystem.h"

namespace docrecover::testing {

namespace {
const std::shared_ptr<MemoryDisk> disk = std::make_shared<MemoryDisk>();
}  // namespace

FileSystemService& Service() {
  static const FileSystemPtr service = NewMemoryFileSystem(disk);
  return *service;
}

std::wstring NewScratchFolder() {
  static int folders = 0;
  const std::wstring folder = L"C:\\scratch" + std::to_wstring(++folders);
  disk->AddFolder(folder);
  return folder;
}

void MakeFolder(const std::wstring& path, uint32_t attributes) {
  disk->AddFolder(path, attributes);
}

void MakeFile(const std::wstring& path, const std::string& content, uint32_t attributes) {
  disk->AddFile(path, content, attributes);
}

std::wstring Hold(const std::wstring& path, bool held) {
  disk->Hold(path, held ? INT64_MAX : 0);
  return path;
}

std::wstring LinkLoop() {
  disk->AddFile(L"C:\\links\\real\\doc.txt");
  disk->AddLink(L"C:\\links\\real\\loop", L"C:\\links\\real");
  return L"C:\\links\\real";
}

std::optional<std::string> Content(const std::wstring& path) {
  return disk->Content(path);
}

}  // namespace docrecover::testing
