#pragma once
// The framework's reference to a file or folder, which need not exist.
#include <memory>
#include <string>

#include "platform/files/PictureOpenFailure.h"
#include "platform/runtime/Object.h"

class OpenFolder;
class Picture;

class FolderItem : public Object {
 public:
  explicit FolderItem(std::string path);
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }

  std::string Name() const;
  // The item's full path in the platform's form (UTF-8).
  const std::string& NativePath() const { return path_; }
  bool Directory() const;
  Ref<FolderItem> Parent() const;
  // The item of that name inside this folder, whether it exists or not; Nil
  // for an empty name, ".", ".." or a name holding a path separator. The child
  // of a folder held open stays inside that folder wherever it is moved.
  Ref<FolderItem> Child(const std::string& name) const;
  // The decoded picture at full size, or Nil when the file cannot be read or
  // holds no picture the platform decodes; failure, when given, then says why.
  Ref<Picture> OpenAsPicture(PictureOpenFailure* failure = nullptr) const;

  // Inside the platform: the folder at that path, held open (the folder
  // dialog's answer); known by its path alone when it cannot be opened.
  static Ref<FolderItem> HeldOpen_(std::string path);
  // Inside the platform: the open folder this item is a child of, or null
  // when the item is known by its path alone.
  const std::shared_ptr<const OpenFolder>& OpenParent_() const { return openParent_; }

 private:
  std::string path_;
  std::shared_ptr<const OpenFolder> open_;        // this folder, held open
  std::shared_ptr<const OpenFolder> openParent_;  // the open folder that holds this item
};
