#include "walker/TreeRoot.h"

namespace docrecover {

std::wstring TreeRoot::TypeName() const {
  struct Name {
    std::wstring operator()(const std::wstring&) const { return L"String"; }
    std::wstring operator()(const std::vector<std::wstring>&) const { return L"String()"; }
    std::wstring operator()(const FolderPtr& folder) const {
      return folder ? L"Folder" : L"Nothing";
    }
    std::wstring operator()(const FolderCollection&) const { return L"Folders"; }
    std::wstring operator()(const DrivePtr& drive) const { return drive ? L"Drive" : L"Nothing"; }
    std::wstring operator()(const Collection&) const { return L"Collection"; }
    std::wstring operator()(const UnsupportedRoot& other) const { return other.typeName; }
  };
  return std::visit(Name{}, value_);
}

}  // namespace docrecover
