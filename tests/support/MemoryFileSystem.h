#pragma once

// An in-memory file system behind FileSystemService, modelling Windows as the product meets it:
// drives of every type, attributes, read-only and hidden targets refused by CopyFile, files in
// use, a full disk, unreadable folders and items, and drives whose root cannot be read.
//
// All service objects made from one MemoryDisk see the same disk. Every call of the service or of
// its drive, folder and file objects counts as one call; a fault plan can make any of them fail
// with a chosen Win32 error number, and the counts let a test assert how often each was made.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystemService.h"

namespace docrecover::testing {

// Every countable call of the service and its objects.
enum class Op {
  kDrives,
  kDriveType,
  kDriveLetter,
  kRootFolder,
  kGetFolder,
  kFindEntry,
  kDeleteFile,
  kCopyFile,
  kReplaceFile,
  kFolderPath,
  kSubFolders,
  kFiles,
  kFilePath,
  kFileName,
};

class MemoryDisk : public std::enable_shared_from_this<MemoryDisk> {
 public:
  struct Node;

  static std::shared_ptr<MemoryDisk> Create();

  // --- Building the disk. Paths are "C:\a\b"; missing parent folders are created plain. ---
  void AddDrive(wchar_t letter, int32_t type = drive_type::kFixed);
  void AddFolder(const std::wstring& path, uint32_t attributes = 0);
  void AddFile(const std::wstring& path, const std::string& content = "", uint32_t attributes = 0);
  // A folder that is a link (reparse point) to target; listing it lists target.
  void AddLink(const std::wstring& path, const std::wstring& target);
  void Remove(const std::wstring& path);
  void SetAttributes(const std::wstring& path, uint32_t attributes);

  // --- Conditions. ---
  // The drive's root cannot be read: RootFolder and every path on it fail with "not ready".
  void SetDriveReadable(wchar_t letter, bool readable);
  // Bytes that may still be written to the drive; unlimited until set.
  void SetFreeSpace(wchar_t letter, uint64_t bytes);
  // SubFolders and Files of the folder fail with access denied; its Path still reads.
  void SetUnlistable(const std::wstring& path, bool unlistable = true);
  // The item's Path and Name fail with access denied (as does GetFolder on it).
  void SetUnreachable(const std::wstring& path, bool unreachable = true);
  // The file is open without sharing: copy from or to it, delete or replace it fail with error 32.
  void SetInUse(const std::wstring& path, bool inUse = true);

  // --- Inspecting the disk. ---
  bool Exists(const std::wstring& path) const;
  std::optional<std::string> Content(const std::wstring& path) const;
  uint32_t Attributes(const std::wstring& path) const;
  // The names directly in a folder, in listing order.
  std::vector<std::wstring> List(const std::wstring& folder) const;

  // --- Fault plan and call counts. ---
  // The n-th call (1-based, counted from now over all operations) fails with error.
  void FailNthCall(int64_t n, uint32_t error);
  // The n-th call of op (1-based, counted from now) fails with error.
  void FailNthCall(Op op, int64_t n, uint32_t error);
  void ClearFaults();
  int64_t Calls() const { return calls_; }
  int64_t Calls(Op op) const;
  // Directory reads (listings) over all folders, and of one folder by its path.
  int64_t DirectoryReads() const { return directoryReads_; }
  int64_t DirectoryReads(const std::wstring& folder) const;

  // --- Used by the service objects (MemoryFileSystem.cpp). ---
  // Counts a call and throws the planned fault, if this is the call that fails.
  void Enter(Op op);
  // The node at path, following links on the way; null when there is none. Throws "not ready"
  // for a path on an unreadable drive.
  Node* Find(const std::wstring& path) const;
  void CountDirectoryRead(const std::wstring& folder);
  // The bytes a drive may still take; effectively unlimited until SetFreeSpace.
  uint64_t& FreeSpace(wchar_t letter);
  Node& Drives() const { return *root_; }

  MemoryDisk();
  ~MemoryDisk();

 private:
  Node& Ensure(const std::wstring& path, bool asFolder, uint32_t attributes);
  Node& Existing(const std::wstring& path) const;

  std::unique_ptr<Node> root_;  // its children are the drives, in the order they were added
  std::map<wchar_t, uint64_t> freeSpace_;
  int64_t calls_ = 0;
  std::map<Op, int64_t> opCalls_;
  int64_t directoryReads_ = 0;
  std::map<std::wstring, int64_t> readsByFolder_;
  std::optional<std::pair<int64_t, uint32_t>> nthCallFault_;
  std::map<Op, std::pair<int64_t, uint32_t>> opFaults_;
};

// A service object on a disk: the shape every test hands to the code under test.
FileSystemPtr NewMemoryFileSystem(const std::shared_ptr<MemoryDisk>& disk);

}  // namespace docrecover::testing
