#pragma once
// The application's resources folder.
#include <string>

#include "platform/files/FolderItem.h"

// The folder share/vamor beside the bin folder that holds the running
// executable (so an install, a relocated install and the build tree all find
// theirs), or Nil when there is none.
Ref<FolderItem> GetApplicationBundleResources_();

namespace TestHooks {
// Replaces the resources folder's path when not empty.
inline std::string resourcesFolder;
}  // namespace TestHooks
