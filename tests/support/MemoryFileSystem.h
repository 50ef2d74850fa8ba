#pragma once

// An in-memory file system behind FileSystemService, with the Windows behaviour the product
// meets: drives of every type, attributes, links, drives, folders and items that cannot be read,
// the targets Windows refuses to overwrite or delete, names over 255 UTF-16 units, files another
// program holds, and a copy's progress called where no exception may pass. Names compare without
// regard to case, and listings give them in that order, as NTFS does.
// FindEntry takes exact names only (no wildcards): the product asks for nothing else.
//
// All service objects made from one MemoryDisk see the same disk. Every call of the service or of
// its drive, folder and file objects counts as one call; a fault plan makes a chosen call fail
// with a Win32 error number (a file in use, a full disk), and the counts let a test assert how
// often each was made. A power cut loses what NTFS does not journal: the data of files not flushed.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystemService.h"
#include "platform/TextCase.h"

namespace docrecover::testing {

// The calls a test counts or makes fail by their kind; every other call of the service or of its
// objects is kOther.
enum class Op { kDeleteFile, kCopyFile, kReplaceFile, kOther };

class MemoryDisk {
 public:
  // One item. A drive is the folder "X:"; a link is a folder with a target.
  struct Entry {
    std::wstring path;       // as first made, without a trailing backslash
    std::wstring link = {};  // the target's path, for a reparse folder
    std::string content = {};
    uint32_t attributes = 0, tag = 0;  // tag: a reparse folder's
    // What the service's calls change on an entry they reach through Find.
    mutable bool flushed = true;  // false for a copy's data not yet on the disk
    int32_t driveType = drive_type::kFixed;
    // readable is false for a drive that fails every path on it with "not ready" (21).
    bool folder = true, readable = true, unlistable = false, unreachable = false;
  };

  // --- Building the disk. Paths are "C:\a\b"; missing parent folders are made plain. ---
  void AddDrive(wchar_t letter, int32_t type = drive_type::kFixed);
  void AddFolder(const std::wstring& path, uint32_t attributes = 0) { Make(path, attributes); }
  // The file's entry, for the service to mark what it changes.
  Entry& AddFile(const std::wstring& path, const std::string& content = "",
                 uint32_t attributes = 0);
  // A reparse folder with tag; listing it lists target. Nothing reaches the items so listed by
  // their paths: a walk never enters a link. A cloud placeholder is its own target.
  void AddLink(const std::wstring& path, const std::wstring& target,
               uint32_t tag = reparse_tag::kSymlink);
  // RootFolder and every path on the drive fail with "not ready" (21), as with no media in it.
  void SetDriveNotReady(wchar_t letter) { At(std::wstring(1, letter) + L":").readable = false; }
  // SubFolders and Files of the folder fail with access denied (5); its Path still reads.
  void SetUnlistable(const std::wstring& path, bool value = true) { At(path).unlistable = value; }
  // The item's Path and Name fail with access denied (5), as do GetFolder and listing it.
  void SetUnreachable(const std::wstring& path, bool value = true) { At(path).unreachable = value; }
  // Another program holds the file at path, or the next one made there (as a virus scanner opens a
  // new file): the next tries to flush it, or to rename it or over it, fail with a sharing
  // violation.
  void Hold(const std::wstring& path, int64_t tries) { holds_[UpperCase(path)] = tries; }
  // The power goes after n more calls: every later call fails with "not ready" (21), and every
  // file not flushed keeps its length but reads as zeros.
  void CutPowerAfter(int64_t n) { powerCut_ = calls_ + n; }

  // --- Inspecting the disk, behind the service's back. ---
  std::optional<std::string> Content(const std::wstring& path) const;

  // --- Fault plan and call counts. ---
  // The n-th call (1-based, counted from now over all operations) fails with error.
  void FailNthCall(int64_t n, uint32_t error) { fault_ = std::make_pair(calls_ + n, error); }
  // The n-th call of op (1-based, counted from now) fails with error.
  void FailNthCall(Op op, int64_t n, uint32_t error) { faultOf_[op] = {Calls(op) + n, error}; }
  void ClearFaults() { fault_.reset(), faultOf_.clear(); }
  int64_t Calls() const { return calls_; }
  int64_t Calls(Op op) const { return callsOf_.count(op) == 0 ? 0 : callsOf_.at(op); }
  // The folders whose listings were read, by the paths they were read by, in order.
  const std::vector<std::wstring>& DirectoryReads() const { return reads_; }

  // --- For the service objects (MemoryFileSystem.cpp). ---
  // Counts a call, and throws the planned fault when this is the call that fails.
  void Enter(Op op);
  // The entry at path; null when there is none. Throws "not ready" on an unreadable drive.
  const Entry* Find(const std::wstring& path) const;
  // The entry at path, made a folder (with its missing parents) when there is none.
  Entry& Make(const std::wstring& path, uint32_t attributes);
  void Erase(const Entry& entry);
  // The entries directly in folder, the drives for no folder, in the order NTFS lists them: by
  // their upper-cased names.
  std::vector<const Entry*> Children(const Entry* folder) const;
  void CountRead(const std::wstring& folder) { reads_.push_back(folder); }
  // Whether another program refuses this try at the file at path; counts the try (below zero:
  // none is left).
  bool Refuses(const std::wstring& path) { return holds_[UpperCase(path)]-- > 0; }

 private:
  // The entry at path; fails with "path not found" when there is none.
  Entry& At(const std::wstring& path) const;

  std::map<std::wstring, Entry> entries_;  // by upper-cased path
  std::map<std::wstring, int64_t> holds_;  // tries still refused, by upper-cased path
  int64_t calls_ = 0;
  std::map<Op, int64_t> callsOf_;
  std::vector<std::wstring> reads_;
  std::optional<std::pair<int64_t, uint32_t>> fault_;
  std::optional<int64_t> powerCut_;
  std::map<Op, std::pair<int64_t, uint32_t>> faultOf_;
};

// The digest the fake gives: Windows' own under Wine; natively a stand-in (OpenSSL's), which the
// product never links.
std::unique_ptr<Sha256> NewTestSha256();
// The text of a program's list vouching for each document, "name=content" or "name" for content
// "new", given in the list's order, with ASCII names.
std::string ListText(const std::vector<std::wstring>& documents);

// A service object on a disk: the shape every test hands to the code under test.
FileSystemPtr NewMemoryFileSystem(const std::shared_ptr<MemoryDisk>& disk);

}  // namespace docrecover::testing
