// The real program on its own X server, driven like a user: open a picture
// through the file dialog, set the tile size, save the tiles into a folder
// chosen in the folder dialog, check every file and quit with Ctrl+Q.
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QImageReader>
#include <QPoint>
#include <QThread>

#include <algorithm>

#include "ChannelDifference.h"
#include "VamorOnXvfb.h"

namespace {
// Where the main window's controls are in its content area.
const QPoint kCanvasCentre(31 + 538 / 2, 22 + 284 / 2);
const QPoint kWidthField(82 + 30, 332 + 10);
const QPoint kHeightField(269 + 30, 332 + 10);
const QPoint kSaveButton((413 + 580) / 2, (397 + 417) / 2);

constexpr int kPictureWidth = 640, kPictureHeight = 480;
constexpr int kTileWidth = 256, kTileHeight = 200;
const QString kPictureName = "picture.png";
const QString kOpenDialogTitle = "^Open$";
const QString kFolderDialogTitle = "^Find Directory$";

// A smooth gradient, so that JPEG tiles stay close to it.
QRgb PictureColour(int x, int y) {
  return qRgb(x * 255 / (kPictureWidth - 1), y * 255 / (kPictureHeight - 1), 96);
}

class EndToEndTest : public VamorOnXvfb {
 protected:
  void SetUp() override {
    VamorOnXvfb::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(QDir(folder.path()).mkdir("tiles"));
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
        EXPECT_LE(ChannelDifference(tile.pixel(at), want), 16)
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
