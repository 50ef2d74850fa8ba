#include "RandomTree.h"

#include "platform/FileSystemService.h"

namespace docrecover::testing {

namespace {

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  return folder.back() == L'\\' ? folder + name : folder + L'\\' + name;
}

void Visit(const std::wstring& path, const TreeFolder& folder, bool recurse,
           std::vector<Position>& out) {
  Position position;
  position.path = path;
  position.readable = !folder.unreachable;
  // A link is visited but not listed; an unreachable folder cannot be listed either.
  position.listed = !folder.unreachable && !folder.unlistable && !folder.link;
  if (position.listed) {
    position.files = folder.files;
    for (const TreeFile& file : folder.files) {
      position.filePaths.push_back(Join(path, file.name));
    }
  }
  out.push_back(position);
  if (recurse && position.listed) {
    for (const TreeFolder& sub : folder.folders) {
      Visit(Join(path, sub.name), sub, recurse, out);
    }
  }
}

}  // namespace

TreeFolder RandomTree(std::mt19937& random, int depth, int& budget) {
  auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
  TreeFolder folder;
  const int files = static_cast<int>(random() % 4);
  for (int i = 0; i < files; ++i) {
    folder.files.push_back({L"f" + std::to_wstring(i) + L".txt", chance(10)});
  }
  if (depth > 0) {
    const int folders = static_cast<int>(random() % 4);
    for (int i = 0; i < folders && budget > 0; ++i) {
      --budget;
      TreeFolder sub = RandomTree(random, depth - 1, budget);
      sub.name = L"d" + std::to_wstring(i);
      sub.link = chance(8);
      sub.unlistable = !sub.link && chance(8);
      sub.unreachable = !sub.link && !sub.unlistable && chance(6);
      folder.folders.push_back(std::move(sub));
    }
  }
  return folder;
}

void WriteTree(MemoryDisk& disk, const std::wstring& rootPath, const TreeFolder& tree) {
  if (tree.link) {
    disk.AddLink(rootPath, rootPath.substr(0, 3));  // a loop back to the drive's root
    return;
  }
  disk.AddFolder(rootPath);
  for (const TreeFile& file : tree.files) {
    const std::wstring path = Join(rootPath, file.name);
    disk.AddFile(path, "x");
    if (file.unreachable) {
      disk.SetUnreachable(path);
    }
  }
  for (const TreeFolder& sub : tree.folders) {
    WriteTree(disk, Join(rootPath, sub.name), sub);
  }
  // Marked last: the items below an unreachable folder are written through its path.
  if (tree.unlistable) {
    disk.SetUnlistable(rootPath);
  }
  if (tree.unreachable) {
    disk.SetUnreachable(rootPath);
  }
}

std::vector<Position> Positions(const std::vector<std::pair<std::wstring, TreeFolder>>& roots,
                                bool recurse) {
  std::vector<Position> positions;
  for (const auto& [path, tree] : roots) {
    Visit(path, tree, recurse, positions);
  }
  return positions;
}

bool ReferenceWalk::Readable(size_t folder, int file) const {
  return !positions_[folder].files[file].unreachable;
}

void ReferenceWalk::Load() {
  file_ = positions_[folder_].files.empty() ? kNoFile : 0;
}

std::wstring ReferenceWalk::GetFolder() {
  if (done_) {
    error_ = -3;
    return L"";
  }
  error_ = positions_[folder_].readable ? 0 : -1;
  return error_ == 0 ? positions_[folder_].path : L"";
}

void ReferenceWalk::MoveNextFolder() {
  if (done_) {
    error_ = -3;
    return;
  }
  error_ = 0;
  do {
    ++folder_;
  } while (folder_ < positions_.size() && !positions_[folder_].readable);
  file_ = kNotLoaded;
  done_ = folder_ == positions_.size();
}

std::wstring ReferenceWalk::GetFile() {
  if (done_) {
    error_ = -3;
    return L"";
  }
  if (file_ == kNotLoaded) {
    Load();
  }
  if (file_ == kNoFile || !Readable(folder_, file_)) {
    error_ = -4;
    return L"";
  }
  error_ = 0;
  return positions_[folder_].filePaths[file_];
}

void ReferenceWalk::MoveNextFile() {
  if (done_) {
    error_ = -3;
    return;
  }
  error_ = 0;
  // The next readable file after the cursor; an unloaded folder starts at its first file.
  int next = file_ == kNotLoaded ? 0 : file_ + 1;
  if (file_ == kNoFile) {
    next = static_cast<int>(positions_[folder_].files.size());
  }
  for (size_t folder = folder_; folder < positions_.size(); ++folder, next = 0) {
    for (int file = next; file < static_cast<int>(positions_[folder].files.size()); ++file) {
      if (Readable(folder, file)) {
        folder_ = folder;
        file_ = file;
        return;
      }
    }
  }
  done_ = true;
}

}  // namespace docrecover::testing
