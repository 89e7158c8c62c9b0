#pragma once
// The application bundle's Resources folder.
#include <string>

#include "platform/files/FolderItem.h"

// The folder "Resources" beside the folder that holds the running executable,
// or Nil when there is none.
Ref<FolderItem> _GetApplicationBundleResources();

namespace TestHooks {
// Replaces the Resources folder's path when not empty.
inline std::string resourcesFolder;
}  // namespace TestHooks
