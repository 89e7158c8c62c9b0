#include "platform/files/FolderItem.h"

#include <filesystem>

#include "platform/files/OpenFolder.h"
#include "platform/files/PictureDecoder.h"

namespace fs = std::filesystem;

const ClassRecord* FolderItem::Lookup_() {
  static const ClassRecord* record =
      RuntimeRegisterClass({.name = "FolderItem", .superclass = &Object::Lookup_});
  return record;
}

FolderItem::FolderItem(std::string path) : path_(std::move(path)) {}

std::string FolderItem::Name() const {
  fs::path p = fs::path(path_);
  if (!p.has_filename()) p = p.parent_path();
  return p.filename().string();
}

bool FolderItem::Directory() const {
  std::error_code ec;
  return fs::is_directory(fs::path(path_), ec);
}

Ref<FolderItem> FolderItem::Parent() const {
  fs::path p = fs::path(path_);
  if (!p.has_filename()) p = p.parent_path();
  if (!p.has_parent_path() || p.parent_path() == p) return nullptr;
  return std::make_shared<FolderItem>(p.parent_path().string());
}

Ref<FolderItem> FolderItem::Child(const std::string& name) const {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
      name.find('\0') != std::string::npos)
    return nullptr;
  auto child = std::make_shared<FolderItem>((fs::path(path_) / fs::path(name)).string());
  child->openParent_ = open_;
  return child;
}

Ref<FolderItem> FolderItem::HeldOpen_(std::string path) {
  auto folder = std::make_shared<FolderItem>(std::move(path));
  folder->open_ = OpenFolder::Open(folder->path_);
  return folder;
}

Ref<Picture> FolderItem::OpenAsPicture(PictureOpenFailure* failure) const {
  return failure ? DecodePictureFile(path_, *failure) : DecodePictureFile(path_);
}
