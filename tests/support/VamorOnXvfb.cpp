#include "VamorOnXvfb.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>

OwnedProcess::~OwnedProcess() {
  if (state() == NotRunning) return;
  terminate();
  if (waitForFinished(3000)) return;
  kill();
  waitForFinished(3000);
}

void VamorOnXvfb::SetUp() {
  for (const char* tool : {"Xvfb", "xdotool", "import"})
    if (QStandardPaths::findExecutable(tool).isEmpty())
      GTEST_SKIP() << tool << " is not installed (scripts/setup test installs xvfb, xdotool and imagemagick)";
  ASSERT_TRUE(folder.isValid());
  ASSERT_TRUE(StartXvfb());
}

// Xvfb picks a free display itself and writes its number to stdout.
testing::AssertionResult VamorOnXvfb::StartXvfb() {
  xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
  if (!xvfb.waitForStarted(kStepTimeoutMs))
    return testing::AssertionFailure() << "Xvfb did not start: " << xvfb.errorString().toStdString();
  QByteArray number;
  QElapsedTimer timer;
  timer.start();
  while (!number.contains('\n')) {
    if (xvfb.state() == QProcess::NotRunning)
      return testing::AssertionFailure() << "Xvfb exited: " << xvfb.readAllStandardError().toStdString();
    if (timer.elapsed() > kStepTimeoutMs)
      return testing::AssertionFailure() << "timed out waiting for Xvfb to report its display number";
    xvfb.waitForReadyRead(100);
    number += xvfb.readAllStandardOutput();
  }
  display = ":" + QString::fromLatin1(number.trimmed());
  return testing::AssertionSuccess();
}

QProcessEnvironment VamorOnXvfb::OnDisplay() const {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("DISPLAY", display);
  return env;
}

// Qt's own widget dialogs, unscaled, on the test's display.
testing::AssertionResult VamorOnXvfb::StartVamor(const QString& binary) {
  QProcessEnvironment env = OnDisplay();
  env.insert("QT_QPA_PLATFORM", "xcb");
  env.insert("QT_QPA_PLATFORMTHEME", "");
  for (const char* name : {"XDG_CURRENT_DESKTOP", "WAYLAND_DISPLAY", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS"})
    env.remove(name);
  vamor.setProcessEnvironment(env);
  vamor.setProcessChannelMode(QProcess::MergedChannels);
  // Where the dialogs start: a stray Return writes nothing outside the test's folder.
  vamor.setWorkingDirectory(folder.path());
  vamor.start(binary, {});
  if (vamor.waitForStarted(kStepTimeoutMs)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "could not start " << binary.toStdString() << ": "
                                     << vamor.errorString().toStdString();
}

testing::AssertionResult VamorOnXvfb::Xdo(const QStringList& args, QString* output) const {
  QProcess xdo;
  xdo.setProcessEnvironment(OnDisplay());
  xdo.start("xdotool", args);
  const std::string command = ("xdotool " + args.join(' ')).toStdString();
  if (!xdo.waitForFinished(5000)) {
    xdo.kill();
    xdo.waitForFinished();
    return testing::AssertionFailure() << command << " did not finish within 5 s";
  }
  if (output) *output = QString::fromUtf8(xdo.readAllStandardOutput()).trimmed();
  if (xdo.exitStatus() == QProcess::NormalExit && xdo.exitCode() == 0) return testing::AssertionSuccess();
  return testing::AssertionFailure() << command << " failed: " << xdo.readAllStandardError().toStdString();
}

QString VamorOnXvfb::FindWindow(const QString& nameRegex) const {
  QString ids;
  if (!Xdo({"search", "--onlyvisible", "--name", nameRegex}, &ids)) return {};
  return ids.section('\n', 0, 0);
}

testing::AssertionResult VamorOnXvfb::Capture(const QString& window, QImage* shot) const {
  const QString file = QDir(folder.path()).filePath("capture.png");
  QProcess import;
  import.setProcessEnvironment(OnDisplay());
  import.start("import", {"-window", window, file});
  if (!import.waitForFinished(kStepTimeoutMs) || import.exitCode() != 0)
    return testing::AssertionFailure() << "import could not capture window " << window.toStdString() << ": "
                                       << import.readAllStandardError().toStdString();
  if (shot->load(file)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "import wrote no picture to " << file.toStdString();
}

std::string VamorOnXvfb::Evidence() {
  std::string evidence;
  if (vamor.state() == QProcess::NotRunning)
    evidence += "\nvamor has exited with code " + std::to_string(vamor.exitCode());
  QByteArray output = vamor.readAll();
  if (!output.isEmpty()) evidence += "\nvamor printed:\n" + output.toStdString();
  QString shot = QDir::temp().filePath("vamor-xvfb-failure.png");
  QProcess import;
  import.setProcessEnvironment(OnDisplay());
  import.start("import", {"-window", "root", shot});
  if (import.waitForFinished(5000) && import.exitCode() == 0) evidence += "\nscreen saved to " + shot.toStdString();
  return evidence;
}

testing::AssertionResult VamorOnXvfb::WaitUntil(const std::string& step, const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (vamor.state() == QProcess::NotRunning)
      return testing::AssertionFailure() << "vamor quit while waiting " << step << Evidence();
    if (timer.elapsed() > kStepTimeoutMs)
      return testing::AssertionFailure() << "timed out after " << kStepTimeoutMs / 1000 << " s waiting " << step
                                         << Evidence();
    QThread::msleep(100);
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult VamorOnXvfb::WaitForWindow(const std::string& step, const QString& nameRegex, QString* id) {
  return WaitUntil(step, [&] { return !(*id = FindWindow(nameRegex)).isEmpty(); });
}

testing::AssertionResult VamorOnXvfb::WaitForMainWindow() {
  if (auto found = WaitForWindow("for the main window", "^Vamor$", &mainWindow); !found) return found;
  return WaitUntil("for the main window to be 600 pixels wide", [&] {
    QString geometry;
    if (!Xdo({"getwindowgeometry", "--shell", mainWindow}, &geometry)) return false;
    int width = 0, height = 0;
    for (const QString& line : geometry.split('\n')) {
      if (line.startsWith("WIDTH=")) width = line.mid(6).toInt();
      if (line.startsWith("HEIGHT=")) height = line.mid(7).toInt();
    }
    menuBarHeight = height - kContentHeight;
    return width == kContentWidth && menuBarHeight >= 0;
  });
}
