#pragma once

// What the file-system contract suite needs from an implementation's test bed. The cases in
// FileSystemContract.cpp are written once against this driver; each test executable links them
// with one driver file that defines NewContractDriver (the in-memory one natively, the Win32 one
// on real files under Wine), so the same cases run on every implementation.
//
// The driver makes and reads items behind the service's back, so that a case never checks the
// service with the service. Paths are full paths under Root(), with backslashes.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/FileSystemService.h"

namespace docrecover::testing {

class ContractDriver {
 public:
  virtual ~ContractDriver() = default;

  // The service under test; it lives as long as the driver.
  virtual FileSystemService& Service() = 0;
  // An empty scratch folder on a fixed drive ("X:\..."), made for this driver, removed with it.
  virtual std::wstring Root() const = 0;
  // A folder or a file; its parent must exist. attributes: any of attribute::kReadOnly,
  // kHidden and kSystem. A failure to make it throws.
  virtual void MakeFolder(const std::wstring& path, uint32_t attributes = 0) = 0;
  virtual void MakeFile(const std::wstring& path, const std::string& content,
                        uint32_t attributes = 0) = 0;
  // A link (reparse point) at path to the folder target; false where the platform cannot make
  // one from a test, and the case is then skipped.
  virtual bool MakeLink(const std::wstring& path, const std::wstring& target) = 0;
  // The content of the file at path; nothing when there is no file there.
  virtual std::optional<std::string> Content(const std::wstring& path) = 0;
};

std::unique_ptr<ContractDriver> NewContractDriver();

}  // namespace docrecover::testing
