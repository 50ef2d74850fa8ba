#pragma once

// The root of a walk: a tagged value in one of six forms, or anything else. Each form answers
// with its run-time type name, which the walker compares against the forms it accepts.

#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/FileSystemService.h"

namespace docrecover {

// A value of a kind no walk accepts (a number, an empty value); its type name is free text.
struct UnsupportedRoot {
  std::wstring typeName = L"Empty";
};

class TreeRoot {
 public:
  // A general collection: its items are paths, folders or drives, or anything else.
  using Collection = std::vector<TreeRoot>;

  TreeRoot(std::wstring path) : value_(std::move(path)) {}
  TreeRoot(const wchar_t* path) : value_(std::wstring(path)) {}
  TreeRoot(std::vector<std::wstring> paths) : value_(std::move(paths)) {}
  TreeRoot(FolderPtr folder) : value_(std::move(folder)) {}
  TreeRoot(FolderCollection folders) : value_(std::move(folders)) {}
  TreeRoot(DrivePtr drive) : value_(std::move(drive)) {}
  TreeRoot(Collection items) : value_(std::move(items)) {}
  TreeRoot(UnsupportedRoot other) : value_(std::move(other)) {}

  // "String", "String()", "Folder", "Folders", "Drive", "Collection"; a missing object is
  // "Nothing", and anything else carries its own name.
  std::wstring TypeName() const;

  template <class Form>
  const Form& As() const {
    return std::get<Form>(value_);
  }

 private:
  std::variant<std::wstring, std::vector<std::wstring>, FolderPtr, FolderCollection, DrivePtr,
               Collection, UnsupportedRoot>
      value_;
};

}  // namespace docrecover
