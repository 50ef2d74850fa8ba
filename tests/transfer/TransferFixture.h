#pragma once

// A disk with a documents folder and a package folder, and a record of what the operations show.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/PlatformError.h"
#include "support/MemoryFileSystem.h"

namespace docrecover {

inline const std::wstring kDocs = L"C:\\CD\\Docs";
inline const std::wstring kPackage = L"C:\\App\\Packages\\ZEMO";

struct TransferBed {
  TransferBed() {
    disk->AddDrive(L'C');
    disk->AddFolder(kDocs);
    disk->AddFolder(kPackage);
  }

  std::function<void(const std::wstring&)> Recorder() {
    return [this](const std::wstring& text) { shown.push_back(text); };
  }

  std::shared_ptr<testing::MemoryDisk> disk = testing::MemoryDisk::Create();
  std::vector<std::wstring> shown;
};

class TransferTest : public ::testing::Test, public TransferBed {};

// The error number that run raised, or 0 when it returned normally.
inline uint32_t ErrorOf(const std::function<void()>& run) {
  try {
    run();
  } catch (const PlatformError& error) {
    return error.Number();
  }
  return 0;
}

inline std::wstring Doc(const std::wstring& name) {
  return kDocs + L"\\" + name;
}
inline std::wstring Pkg(const std::wstring& name) {
  return kPackage + L"\\" + name;
}

}  // namespace docrecover
