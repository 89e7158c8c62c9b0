// The real program on its own X server, driven like a user: open a picture
// through the file dialog, set the tile size, save the tiles into a folder
// chosen in the folder dialog, check every file and quit with Ctrl+Q.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QImageReader>
#include <QPoint>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace {
constexpr int kStepTimeoutMs = 20000;

// The main window's content area (below its menu bar) and where its controls are in it.
constexpr int kContentWidth = 600, kContentHeight = 437;
const QPoint kCanvasCentre(31 + 538 / 2, 22 + 284 / 2);
const QPoint kWidthField(82 + 30, 332 + 10);
const QPoint kHeightField(269 + 30, 332 + 10);
const QPoint kSaveButton((413 + 580) / 2, (397 + 417) / 2);

constexpr int kPictureWidth = 640, kPictureHeight = 480;
constexpr int kTileWidth = 256, kTileHeight = 200;
const QString kPictureName = "picture.png";
const QString kMainTitle = "^Vamor$";
const QString kOpenDialogTitle = "^Open$";
const QString kFolderDialogTitle = "^Find Directory$";

// A smooth gradient, so that JPEG tiles stay close to it.
QRgb PictureColour(int x, int y) {
  return qRgb(x * 255 / (kPictureWidth - 1), y * 255 / (kPictureHeight - 1), 96);
}

int ChannelDistance(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// A child process that is stopped, at the latest, when the test leaves: asked
// first, so that Xvfb removes its socket and lock file, killed if it lingers.
class OwnedProcess : public QProcess {
 public:
  ~OwnedProcess() override {
    if (state() == NotRunning) return;
    terminate();
    if (waitForFinished(3000)) return;
    kill();
    waitForFinished(3000);
  }
};

class EndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"Xvfb", "xdotool"})
      if (QStandardPaths::findExecutable(tool).isEmpty())
        GTEST_SKIP() << tool << " is not installed (scripts/setup installs xvfb and xdotool)";
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QDir(folder.path()).mkdir("tiles"));
    ASSERT_TRUE(StartXvfb());
  }

  QString PicturePath() const { return QDir(folder.path()).filePath(kPictureName); }
  QString TilesPath() const { return QDir(folder.path()).filePath("tiles"); }

  testing::AssertionResult WritePicture() const {
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    for (int y = 0; y < kPictureHeight; ++y)
      for (int x = 0; x < kPictureWidth; ++x) image.setPixel(x, y, PictureColour(x, y));
    if (image.save(PicturePath(), "PNG")) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "could not write " << PicturePath().toStdString();
  }

  // Xvfb picks a free display itself and writes its number to stdout.
  testing::AssertionResult StartXvfb() {
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

  QProcessEnvironment OnDisplay() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    return env;
  }

  // Qt's own widget dialogs, unscaled, on the test's display.
  testing::AssertionResult StartVamor() {
    QProcessEnvironment env = OnDisplay();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("QT_QPA_PLATFORMTHEME", "");
    for (const char* name : {"XDG_CURRENT_DESKTOP", "WAYLAND_DISPLAY", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS"})
      env.remove(name);
    vamor.setProcessEnvironment(env);
    vamor.setProcessChannelMode(QProcess::MergedChannels);
    // Where the dialogs start: a stray Return writes nothing outside the test's folder.
    vamor.setWorkingDirectory(folder.path());
    vamor.start(VAMOR_BINARY, {});
    if (vamor.waitForStarted(kStepTimeoutMs)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "could not start " << VAMOR_BINARY << ": "
                                       << vamor.errorString().toStdString();
  }

  // Runs xdotool on the test's display; `output` receives what it printed.
  testing::AssertionResult Xdo(const QStringList& args, QString* output = nullptr) const {
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

  // The first visible window whose name matches, or an empty string.
  QString FindWindow(const QString& nameRegex) const {
    QString ids;
    if (!Xdo({"search", "--onlyvisible", "--name", nameRegex}, &ids)) return {};
    return ids.section('\n', 0, 0);
  }

  // What a failed step leaves behind: vamor's state and output and a screenshot.
  std::string Evidence() {
    std::string evidence;
    if (vamor.state() == QProcess::NotRunning)
      evidence += "\nvamor has exited with code " + std::to_string(vamor.exitCode());
    QByteArray output = vamor.readAll();
    if (!output.isEmpty()) evidence += "\nvamor printed:\n" + output.toStdString();
    if (!QStandardPaths::findExecutable("import").isEmpty()) {
      QString shot = QDir::temp().filePath("vamor-e2e-failure.png");
      QProcess import;
      import.setProcessEnvironment(OnDisplay());
      import.start("import", {"-window", "root", shot});
      if (import.waitForFinished(5000) && import.exitCode() == 0)
        evidence += "\nscreen saved to " + shot.toStdString();
    }
    return evidence;
  }

  testing::AssertionResult WaitUntil(const std::string& step, const std::function<bool()>& done) {
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

  testing::AssertionResult WaitForWindow(const std::string& step, const QString& nameRegex, QString* id) {
    return WaitUntil(step, [&] { return !(*id = FindWindow(nameRegex)).isEmpty(); });
  }

  // Waits until the main window is mapped at its full size and notes the menu bar's height.
  testing::AssertionResult WaitForMainWindow() {
    if (auto found = WaitForWindow("for the main window", kMainTitle, &mainWindow); !found) return found;
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

  testing::AssertionResult ClickInMainWindow(QPoint content) const {
    return Xdo({"mousemove", "--window", mainWindow, QString::number(content.x()),
                QString::number(content.y() + menuBarHeight), "click", "1"});
  }

  testing::AssertionResult ReplaceFieldText(QPoint field, const QString& text) const {
    if (auto focused = Xdo({"windowfocus", "--sync", mainWindow}); !focused) return focused;
    if (auto clicked = ClickInMainWindow(field); !clicked) return clicked;
    if (auto selected = Xdo({"key", "ctrl+a"}); !selected) return selected;
    return Xdo({"type", "--delay", "5", text});
  }

  // Types `text` into the dialog's name field and presses Return until the dialog closes:
  // a completion popup over the field can take the first Return.
  testing::AssertionResult AnswerDialog(const std::string& dialog, const QString& titleRegex, const QString& text) {
    QString id;
    if (auto found = WaitForWindow("for the " + dialog, titleRegex, &id); !found) return found;
    if (auto focused = Xdo({"windowfocus", "--sync", id}); !focused) return focused;
    if (auto typed = Xdo({"type", "--delay", "5", text}); !typed) return typed;
    return WaitUntil("for the " + dialog + " to close after Return", [&] {
      if (!Xdo({"key", "Return"})) return false;
      QElapsedTimer timer;
      timer.start();
      while (timer.elapsed() < 1500) {
        if (FindWindow(titleRegex).isEmpty()) return true;
        QThread::msleep(100);
      }
      return false;
    });
  }

  QString MainWindowTitle() const {
    QString title;
    return Xdo({"getwindowname", mainWindow}, &title) ? title : QString();
  }

  QTemporaryDir folder;
  OwnedProcess xvfb;
  OwnedProcess vamor;  // declared after Xvfb: killed before it
  QString display, mainWindow;
  int menuBarHeight = 0;
};

TEST_F(EndToEndTest, OpensAPictureAndSavesItsTilesThroughTheRealDialogs) {
  ASSERT_TRUE(WritePicture());
  ASSERT_TRUE(StartVamor());
  ASSERT_TRUE(WaitForMainWindow());

  ASSERT_TRUE(ClickInMainWindow(kCanvasCentre));
  ASSERT_TRUE(AnswerDialog("open-file dialog", kOpenDialogTitle, PicturePath()));
  const QString loadedTitle = QString("Vamor: %1 / %2 x %3").arg(kPictureName).arg(kPictureWidth).arg(kPictureHeight);
  ASSERT_TRUE(WaitUntil("for the title \"" + loadedTitle.toStdString() + "\"",
                        [&] { return MainWindowTitle() == loadedTitle; }));

  ASSERT_TRUE(ReplaceFieldText(kWidthField, QString::number(kTileWidth)));
  ASSERT_TRUE(ReplaceFieldText(kHeightField, QString::number(kTileHeight)));
  ASSERT_TRUE(ClickInMainWindow(kSaveButton));
  // The trailing slash keeps the completion popup closed: the folder is empty.
  ASSERT_TRUE(AnswerDialog("folder dialog", kFolderDialogTitle, TilesPath() + "/"));

  const int columns = (kPictureWidth + kTileWidth - 1) / kTileWidth;
  const int rows = (kPictureHeight + kTileHeight - 1) / kTileHeight;
  QStringList expected;
  for (int x = 1; x <= columns; ++x)
    for (int y = 1; y <= rows; ++y) expected << QString("x%1y%2.jpg").arg(x).arg(y);
  const QDir tiles(TilesPath());
  ASSERT_TRUE(WaitUntil("for the " + std::to_string(expected.size()) + " tiles", [&] {
    return std::all_of(expected.begin(), expected.end(), [&](const QString& name) { return tiles.exists(name); });
  }));
  QStringList written = tiles.entryList(QDir::Files, QDir::Name);
  expected.sort();
  EXPECT_EQ(written, expected) << "no other files, no temporary leftovers";

  // Inside the picture and, in the last column and row, in the white padding beyond it.
  const QPoint samples[] = {{20, 20}, {100, 60}, {236, 20}, {20, 180}, {236, 180}};
  for (int x = 1; x <= columns; ++x)
    for (int y = 1; y <= rows; ++y) {
      const QString name = QString("x%1y%2.jpg").arg(x).arg(y);
      SCOPED_TRACE(name.toStdString());
      QImageReader reader(tiles.filePath(name));
      EXPECT_EQ(reader.format(), "jpeg");
      EXPECT_EQ(reader.size(), QSize(kTileWidth, kTileHeight));
      const QImage tile = reader.read();
      ASSERT_FALSE(tile.isNull()) << reader.errorString().toStdString();
      for (QPoint at : samples) {
        const int px = (x - 1) * kTileWidth + at.x(), py = (y - 1) * kTileHeight + at.y();
        const bool inside = px < kPictureWidth && py < kPictureHeight;
        const QRgb want = inside ? PictureColour(px, py) : qRgb(255, 255, 255);
        EXPECT_LE(ChannelDistance(tile.pixel(at), want), 16)
            << "at " << at.x() << "," << at.y() << (inside ? " (picture)" : " (padding)");
      }
    }

  ASSERT_TRUE(Xdo({"windowfocus", "--sync", mainWindow}));
  ASSERT_TRUE(Xdo({"key", "ctrl+q"}));
  ASSERT_TRUE(vamor.waitForFinished(kStepTimeoutMs)) << "vamor did not quit within 20 s of Ctrl+Q" << Evidence();
  EXPECT_EQ(vamor.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(vamor.exitCode(), 0) << vamor.readAll().toStdString();
}

// Clicks and keys made while the export runs are dropped: once it is over, no
// folder or open dialog turns up that nobody asked for at that moment.
TEST_F(EndToEndTest, ClicksMadeDuringALongExportDoNothingAfterwards) {
  ASSERT_TRUE(WritePicture());
  ASSERT_TRUE(StartVamor());
  ASSERT_TRUE(WaitForMainWindow());
  ASSERT_TRUE(ClickInMainWindow(kCanvasCentre));
  ASSERT_TRUE(AnswerDialog("open-file dialog", kOpenDialogTitle, PicturePath()));
  ASSERT_TRUE(WaitUntil("for the picture", [&] { return MainWindowTitle().startsWith("Vamor: "); }));
  constexpr int kSmallTile = 4;
  const int tiles = (kPictureWidth / kSmallTile) * (kPictureHeight / kSmallTile);
  ASSERT_TRUE(ReplaceFieldText(kWidthField, QString::number(kSmallTile)));
  ASSERT_TRUE(ReplaceFieldText(kHeightField, QString::number(kSmallTile)));
  ASSERT_TRUE(ClickInMainWindow(kSaveButton));
  ASSERT_TRUE(AnswerDialog("folder dialog", kFolderDialogTitle, TilesPath() + "/"));

  const QDir folder(TilesPath());
  auto written = [&] { return int(folder.entryList(QDir::Files).size()); };
  ASSERT_TRUE(WaitUntil("for the export to begin", [&] { return written() > 0; }));
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(ClickInMainWindow(kSaveButton));
  ASSERT_TRUE(ClickInMainWindow(kCanvasCentre));
  ASSERT_TRUE(Xdo({"key", "ctrl+o"}));
  ASSERT_LT(written(), tiles) << "the export ended before the clicks: make it longer";
  ASSERT_TRUE(WaitUntil("for the " + std::to_string(tiles) + " tiles", [&] { return written() == tiles; }));

  QThread::msleep(2000);
  EXPECT_TRUE(FindWindow(kFolderDialogTitle).isEmpty()) << "a folder dialog for clicks made during the export"
                                                        << Evidence();
  EXPECT_TRUE(FindWindow(kOpenDialogTitle).isEmpty()) << "an open dialog for input made during the export"
                                                      << Evidence();

  // The next click is the user's own again.
  ASSERT_TRUE(ClickInMainWindow(kSaveButton));
  QString dialog;
  ASSERT_TRUE(WaitForWindow("for the folder dialog of a click after the export", kFolderDialogTitle, &dialog));
  ASSERT_TRUE(Xdo({"windowfocus", "--sync", dialog}));
  ASSERT_TRUE(Xdo({"key", "Escape"}));
  ASSERT_TRUE(WaitUntil("for the folder dialog to close", [&] { return FindWindow(kFolderDialogTitle).isEmpty(); }));
  ASSERT_TRUE(Xdo({"windowfocus", "--sync", mainWindow}));
  ASSERT_TRUE(Xdo({"key", "ctrl+q"}));
  ASSERT_TRUE(vamor.waitForFinished(kStepTimeoutMs)) << "vamor did not quit within 20 s of Ctrl+Q" << Evidence();
  EXPECT_EQ(vamor.exitCode(), 0);
}
}  // namespace
