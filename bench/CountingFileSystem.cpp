#include "CountingFileSystem.h"

#include <utility>
#include <vector>

namespace docrecover::bench {

namespace {

class CountingFolder final : public Folder {
 public:
  CountingFolder(FolderPtr inner, std::shared_ptr<FolderReadCounts> counts)
      : inner_(std::move(inner)), counts_(std::move(counts)) {}

  std::wstring Path() const override { return inner_->Path(); }
  bool IsLink() const override { return inner_->IsLink(); }

  FolderCollection SubFolders() override {
    // Counted before the call: a read that fails was still asked for.
    ++(*counts_)[inner_->Path()].subFolders;
    std::vector<FolderPtr> wrapped;
    for (const FolderPtr& folder : inner_->SubFolders()) {
      wrapped.push_back(std::make_shared<CountingFolder>(folder, counts_));
    }
    return FolderCollection(std::move(wrapped));
  }

  FileCollection Files() override {
    ++(*counts_)[inner_->Path()].files;
    return inner_->Files();
  }

 private:
  FolderPtr inner_;
  std::shared_ptr<FolderReadCounts> counts_;
};

}  // namespace

CountingFileSystem::CountingFileSystem(FileSystemPtr inner) : inner_(std::move(inner)) {}

FolderPtr CountingFileSystem::GetFolder(const std::wstring& path) {
  return std::make_shared<CountingFolder>(inner_->GetFolder(path), counts_);
}

}  // namespace docrecover::bench
