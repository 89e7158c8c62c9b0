#include "StartedVamor.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>

#include "platform/runtime/TestHooks.h"
#include "platform/ui/Application.h"
#include "platform/ui/MenuItem.h"

void StartedVamor::SetUp() {
  TestHooks::screenWidth = 1280;
  TestHooks::screenHeight = 800;
  TestHooks::trace = [this](const std::string& line) { trace.push_back(line); };
  SetDialogInterface(std::make_unique<ScriptedDialogs>(dialogs));
  RuntimeInit();
  Initialize_();
  RunFrameworkInitialization_(&Startup_);
}

void StartedVamor::TearDown() {
  Finalize_();
  RuntimeExit();
  SetDialogInterface(nullptr);
  TestHooks::trace = nullptr;
  TestHooks::screenWidth = TestHooks::screenHeight = 0;
  TestHooks::screenLeft = TestHooks::screenTop = 0;
  QCoreApplication::processEvents();
}

void StartedVamor::EnableMenus() {
  Main()->Show();
  RuntimeEnableMenuItems();
}

std::string TempDir() {
  static QTemporaryDir dir;
  return dir.path().toStdString();
}

std::string WritePicture(const std::string& name, int width, int height, const char* format) {
  QImage image(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb((x * 7) & 255, (y * 5) & 255, (x + y) & 255));
  std::string path = QDir(QString::fromStdString(TempDir())).filePath(QString::fromStdString(name)).toStdString();
  image.save(QString::fromStdString(path), format);
  return path;
}

bool ProcessEventsUntil(const std::function<bool()>& condition, int milliseconds) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > milliseconds) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}
