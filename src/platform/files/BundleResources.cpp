#include "platform/files/BundleResources.h"

#include <QCoreApplication>
#include <QDir>

Ref<FolderItem> GetApplicationBundleResources_() {
  QString path = TestHooks::resourcesFolder.empty()
                     ? QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(VAMOR_RESOURCES_FROM_BINARY)
                     : QString::fromStdString(TestHooks::resourcesFolder);
  auto folder = std::make_shared<FolderItem>(QDir::cleanPath(path).toStdString());
  return folder->Directory() ? folder : nullptr;
}
