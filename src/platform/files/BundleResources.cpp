#include "platform/files/BundleResources.h"

#include <QCoreApplication>
#include <QDir>

Ref<FolderItem> _GetApplicationBundleResources() {
  QString path = TestHooks::resourcesFolder.empty()
                     ? QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("../Resources")
                     : QString::fromStdString(TestHooks::resourcesFolder);
  auto folder = std::make_shared<FolderItem>(QDir::cleanPath(path).toStdString());
  return folder->Directory() ? folder : nullptr;
}
