#include "platform/files/BundleResources.h"
#include "ui/Window1.h"

namespace {
Ref<Picture> placeholderCache;
}

Ref<Picture> mulvo_vamor() {
  if (placeholderCache) return placeholderCache;
  Ref<FolderItem> resources = GetApplicationBundleResources_();
  if (!resources) return nullptr;
  Ref<FolderItem> file = resources->Child("mulvo_vamor.jpg");
  placeholderCache = file ? file->OpenAsPicture() : nullptr;
  return placeholderCache;
}
