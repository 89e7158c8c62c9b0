#pragma once
// The framework's reference to a file or folder, which need not exist.
#include <string>

#include "platform/files/PictureOpenFailure.h"
#include "platform/runtime/Object.h"

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
  // for an empty name, ".", ".." or a name holding a path separator.
  Ref<FolderItem> Child(const std::string& name) const;
  // The decoded picture at full size, or Nil when the file cannot be read or
  // holds no picture the platform decodes; failure, when given, then says why.
  Ref<Picture> OpenAsPicture(PictureOpenFailure* failure = nullptr) const;

 private:
  std::string path_;
};
