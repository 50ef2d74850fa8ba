#pragma once

// A file-system service that counts, per folder path, how often its subfolders and its files are
// asked for, and forwards every call to the service it wraps. Folders it hands out (from
// GetFolder and from SubFolders) are wrapped in turn, so a walk started on one of them is counted
// all the way down. Drives are forwarded unwrapped: the search never starts from one.

#include <map>
#include <memory>
#include <string>

#include "platform/FileSystemService.h"

namespace docrecover::bench {

struct FolderReads {
  long subFolders = 0;
  long files = 0;
};

using FolderReadCounts = std::map<std::wstring, FolderReads>;

class CountingFileSystem final : public FileSystemService {
 public:
  explicit CountingFileSystem(FileSystemPtr inner);

  const FolderReadCounts& Counts() const { return *counts_; }

  DriveCollection Drives() override { return inner_->Drives(); }
  FolderPtr GetFolder(const std::wstring& path) override;
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
  // Shared with every folder handed out, which may outlive this service.
  std::shared_ptr<FolderReadCounts> counts_ = std::make_shared<FolderReadCounts>();
};

}  // namespace docrecover::bench
