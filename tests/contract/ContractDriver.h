#pragma once

// What the file-system contract suite needs from an implementation's test bed: a service, a
// scratch folder, and ways to make and read items behind the service's back. Each
// implementation's driver file defines NewContractDriver; the same cases run on all of them.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/FileSystemService.h"

namespace docrecover::testing {

class ContractDriver {
 public:
  virtual ~ContractDriver() = default;

  virtual FileSystemService& Service() = 0;
  // An empty scratch folder, removed with the driver.
  virtual std::wstring Root() const = 0;
  // Parents must exist. attributes: read-only, hidden and system bits.
  virtual void MakeFolder(const std::wstring& path, uint32_t attributes = 0) = 0;
  virtual void MakeFile(const std::wstring& path, const std::string& content,
                        uint32_t attributes = 0) = 0;
  // A link at path to the folder target; false where the platform cannot make one here.
  virtual bool MakeLink(const std::wstring& path, const std::wstring& target) = 0;
  // The content of a file, or nothing when there is no file at path.
  virtual std::optional<std::string> Content(const std::wstring& path) = 0;
};

std::unique_ptr<ContractDriver> NewContractDriver();

}  // namespace docrecover::testing
