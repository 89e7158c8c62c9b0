#include "platform/quicktime/TileFile.h"

#include <QSaveFile>

bool ReplaceFileWith(const std::string& path, const void* data, size_t size, std::string& error) {
  QSaveFile file(QString::fromStdString(path));
  if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
      file.write(static_cast<const char*>(data), qint64(size)) == qint64(size) && file.commit())
    return true;
  error = file.errorString().toStdString();
  return false;
}
