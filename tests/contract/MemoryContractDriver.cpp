#include "ContractDriver.h"
#include "support/MemoryFileSystem.h"

namespace docrecover::testing {

namespace {

class MemoryContractDriver : public ContractDriver {
 public:
  MemoryContractDriver() {
    disk_->AddDrive(L'C');
    disk_->AddFolder(Root());
  }

  FileSystemService& Service() override { return *service_; }
  std::wstring Root() const override { return L"C:\\scratch"; }
  void MakeFolder(const std::wstring& path, uint32_t attributes) override {
    disk_->AddFolder(path, attributes);
  }
  void MakeFile(const std::wstring& path, const std::string& content,
                uint32_t attributes) override {
    disk_->AddFile(path, content, attributes);
  }
  bool MakeLink(const std::wstring& path, const std::wstring& target) override {
    disk_->AddLink(path, target);
    return true;
  }
  std::optional<std::string> Content(const std::wstring& path) override {
    return disk_->Content(path);
  }

 private:
  std::shared_ptr<MemoryDisk> disk_ = MemoryDisk::Create();
  FileSystemPtr service_ = NewMemoryFileSystem(disk_);
};

}  // namespace

std::unique_ptr<ContractDriver> NewContractDriver() {
  return std::make_unique<MemoryContractDriver>();
}

}  // namespace docrecover::testing
