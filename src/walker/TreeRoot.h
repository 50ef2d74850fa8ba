#pragma once

// The root of a walk: a tagged value in one of six forms, or anything else. Each form answers
// with its run-time type name, which the walker compares against the forms it accepts.

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/FileSystemService.h"

namespace docrecover {

// The type names of the six forms, in the order a walker tries them.
namespace root_tag {
inline constexpr std::wstring_view kString = L"String";
inline constexpr std::wstring_view kStrings = L"String()";
inline constexpr std::wstring_view kFolder = L"Folder";
inline constexpr std::wstring_view kFolders = L"Folders";
inline constexpr std::wstring_view kDrive = L"Drive";
inline constexpr std::wstring_view kCollection = L"Collection";
inline constexpr std::array kForms = {kString, kStrings, kFolder, kFolders, kDrive, kCollection};
// A folder or drive handle that holds no object.
inline constexpr std::wstring_view kNothing = L"Nothing";
}  // namespace root_tag

// A value of a kind no walk accepts (a number, an empty value), named by its type name. The name
// is never one of the six forms' names, so a tag always tells truly what a root holds.
class UnsupportedRoot {
 public:
  // Throws std::invalid_argument for a form's name.
  explicit UnsupportedRoot(std::wstring typeName = L"Empty");
  const std::wstring& TypeName() const { return typeName_; }

 private:
  std::wstring typeName_;
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

  // One of root_tag's names; a handle without an object is "Nothing", and anything else carries
  // its own name.
  std::wstring TypeName() const;

  // The value of the form whose tag TypeName gave.
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
