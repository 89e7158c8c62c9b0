// The install: `cmake --install` into a scratch DESTDIR and prefix lays out
// the program and its resources, and the installed tree, moved elsewhere as a
// whole, still shows its own placeholder picture in the preview.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>

#include <algorithm>

#include "ChannelDifference.h"
#include "FileBytes.h"
#include "VamorOnXvfb.h"

namespace {
const QString kPrefix = "/opt/vamor";
const QString kPlaceholder = "share/vamor/mulvo_vamor.jpg";
// The preview area in the main window's content.
const QPoint kCanvasAt(31, 22);

// The largest difference of one channel between the picture and the part of
// the shot at `at`, or 256 when the shot does not hold it.
int Difference(const QImage& shot, QPoint at, const QImage& picture) {
  if (!shot.rect().contains(QRect(at, picture.size()))) return 256;
  int worst = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      worst = std::max(worst, ChannelDifference(shot.pixel(at.x() + x, at.y() + y), picture.pixel(x, y)));
  return worst;
}

class InstallTest : public VamorOnXvfb {
 protected:
  testing::AssertionResult Install(const QString& destdir) const {
    QProcess cmake;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DESTDIR", destdir);
    cmake.setProcessEnvironment(env);
    cmake.setProcessChannelMode(QProcess::MergedChannels);
    cmake.start(VAMOR_CMAKE_COMMAND, {"--install", VAMOR_BUILD_DIR, "--prefix", kPrefix});
    if (cmake.waitForFinished(kStepTimeoutMs) && cmake.exitStatus() == QProcess::NormalExit && cmake.exitCode() == 0)
      return testing::AssertionSuccess();
    return testing::AssertionFailure() << "cmake --install failed: " << cmake.readAll().toStdString();
  }
};

TEST_F(InstallTest, AMovedInstallShowsItsOwnPlaceholder) {
  const QDir root(folder.path());
  ASSERT_TRUE(Install(root.filePath("stage")));
  const QDir installed(root.filePath("stage") + kPrefix);
  for (const char* file : {"bin/vamor", "share/vamor/mulvo_vamor.jpg", "share/applications/vamor.desktop",
                           "share/icons/hicolor/256x256/apps/vamor.png"})
    EXPECT_TRUE(QFileInfo(installed.filePath(file)).isFile()) << file;
  EXPECT_TRUE(QFileInfo(installed.filePath("bin/vamor")).isExecutable());
  EXPECT_EQ(Read(installed.filePath(kPlaceholder)), Read(VAMOR_PLACEHOLDER));

  const QString moved = root.filePath("moved/elsewhere");
  ASSERT_TRUE(root.mkpath("moved"));
  ASSERT_TRUE(QDir().rename(installed.path(), moved));
  // Marked, so that no other copy of the placeholder can stand in for this one.
  const QString placeholderPath = QDir(moved).filePath(kPlaceholder);
  const QImage placeholder = QImage(placeholderPath).mirrored(true, false);
  ASSERT_FALSE(placeholder.isNull());
  ASSERT_TRUE(placeholder.save(placeholderPath, "JPEG", 100));
  const QImage expected(placeholderPath);

  ASSERT_TRUE(StartVamor(QDir(moved).filePath("bin/vamor")));
  ASSERT_TRUE(WaitForMainWindow());
  QImage shot;
  int difference = 256;
  EXPECT_TRUE(WaitUntil("for the preview to show the placeholder", [&] {
    if (Capture(mainWindow, &shot)) difference = Difference(shot, kCanvasAt + QPoint(0, menuBarHeight), expected);
    return difference <= 8;
  })) << "the largest channel difference was " << difference;
}
}  // namespace
