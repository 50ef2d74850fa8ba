#include "walker/TreeRoot.h"

#include <algorithm>
#include <stdexcept>

namespace docrecover {

UnsupportedRoot::UnsupportedRoot(std::wstring typeName) : typeName_(std::move(typeName)) {
  if (std::find(root_tag::kForms.begin(), root_tag::kForms.end(), typeName_) !=
      root_tag::kForms.end()) {
    throw std::invalid_argument("an unsupported root cannot carry the name of a supported form");
  }
}

std::wstring TreeRoot::TypeName() const {
  struct Name {
    std::wstring_view operator()(const std::wstring&) const { return root_tag::kString; }
    std::wstring_view operator()(const std::vector<std::wstring>&) const {
      return root_tag::kStrings;
    }
    std::wstring_view operator()(const FolderPtr& folder) const {
      return folder ? root_tag::kFolder : root_tag::kNothing;
    }
    std::wstring_view operator()(const FolderCollection&) const { return root_tag::kFolders; }
    std::wstring_view operator()(const DrivePtr& drive) const {
      return drive ? root_tag::kDrive : root_tag::kNothing;
    }
    std::wstring_view operator()(const Collection&) const { return root_tag::kCollection; }
    std::wstring_view operator()(const UnsupportedRoot& other) const { return other.TypeName(); }
  };
  return std::wstring(std::visit(Name{}, value_));
}

}  // namespace docrecover
