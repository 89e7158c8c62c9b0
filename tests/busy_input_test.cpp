// Input while Vamor works: what the user does during a long export or load is
// dropped, not run once the work is over; what they do afterwards is not.
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "DroppedFiles.h"
#include "RecordingPlugin.h"
#include "StartedVamor.h"
#include "platform/graphics/PictureImage.h"
#include "platform/runtime/TestHooks.h"
#include "platform/ui/WindowWidgets.h"

namespace {
// The user's input as the window system hands it on: spontaneous events
// stamped with the moment they were made.
ulong Now() {
  static QElapsedTimer clock;
  if (!clock.isValid()) clock.start();
  return ulong(clock.elapsed()) + 1;
}

void Click(QWidget* widget, QPoint at = QPoint(10, 10)) {
  const ulong made = Now();
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    event.setTimestamp(made);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(widget, &event);
  }
}

void Key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const ulong made = Now();
  const QString text = modifiers == Qt::NoModifier ? QKeySequence(key).toString() : QString();
  if (qt_sendShortcutOverrideEvent(widget, made, key, modifiers, text)) return;
  for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
    QKeyEvent event(type, key, modifiers, text);
    event.setTimestamp(made);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(widget, &event);
  }
}

class BusyInputTest : public StartedVamor {
 protected:
  void SetUp() override {
    plugin.Install();
    StartedVamor::SetUp();
    Main()->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Main()->Widgets().top));
    // The work reads the tile width early on: there it takes its time, and
    // the user's input made meanwhile waits until the program looks at events.
    TestHooks::trace = [this](const std::string& line) {
      if (line != "Read txtWidth.Text" || !std::exchange(armed, false)) return;
      QThread::msleep(workMilliseconds);
      QTimer::singleShot(0, Main()->Widgets().top, whileBusy);
    };
  }
  void TearDown() override {
    StartedVamor::TearDown();
    RecordingPlugin::Uninstall();
  }

  // The program's next work takes its time, and `input` is made during it.
  void DuringTheNextWork(std::function<void()> input) {
    whileBusy = std::move(input);
    armed = true;
  }

  // Five clicks on Save, one on the preview, Ctrl+O and a picture dropped.
  void ImpatientUser() {
    for (int i = 0; i < 5; ++i) Click(Main()->SaveButton()->Widget());
    Click(Main()->Canvas1()->Widget(), QPoint(200, 100));
    Key(Main()->Widgets().top, Qt::Key_O, Qt::ControlModifier);
    dropTaken = Drop(Main()->Canvas1()->Widget(), {WritePicture("dropped.png", 32, 32)});
  }

  void Settle() {
    ProcessEventsUntil([] { return false; }, 300);
  }

  RecordingPlugin plugin;
  bool armed = false;
  bool dropTaken = false;
  unsigned long workMilliseconds = 300;
  std::function<void()> whileBusy;
};

TEST_F(BusyInputTest, ClicksAndKeysDuringAnExportAreDroppedAndLaterOnesDelivered) {
  ImageTools::OriginalImage = PictureFromImage(QImage(400, 300, QImage::Format_ARGB32), true);
  Main()->SaveButton()->Enabled(true);
  dialogs.folders.push_back(TempDir());
  DuringTheNextWork([this] { ImpatientUser(); });
  Click(Main()->SaveButton()->Widget());
  Settle();
  EXPECT_EQ(plugin.saves.size(), 12u) << "the export ran";
  EXPECT_EQ(dialogs.folderDialogs, 1) << "no folder dialog for the clicks made during the export";
  EXPECT_TRUE(dialogs.fileFilters.empty()) << "no open dialog for the click and Ctrl+O made during the export";
  EXPECT_FALSE(dropTaken);
  EXPECT_EQ(Main()->Title(), "Vamor") << "the picture dropped during the export is not loaded";

  Click(Main()->SaveButton()->Widget());
  Key(Main()->Widgets().top, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(dialogs.folderDialogs, 2) << "a click after the export";
  EXPECT_EQ(dialogs.fileFilters.size(), 1u) << "Ctrl+O after the export";
}

TEST_F(BusyInputTest, ClicksAndKeysDuringALoadAreDroppedAndLaterOnesDelivered) {
  dialogs.files.push_back(WritePicture("busy.png", 640, 480));
  DuringTheNextWork([this] { ImpatientUser(); });
  Key(Main()->Widgets().top, Qt::Key_O, Qt::ControlModifier);
  Settle();
  EXPECT_EQ(Main()->Title(), "Vamor: busy.png / 640 x 480") << "the load ran";
  EXPECT_EQ(dialogs.fileFilters.size(), 1u) << "no open dialog for the click and Ctrl+O made during the load";
  EXPECT_EQ(dialogs.folderDialogs, 0) << "no folder dialog for the clicks made during the load";
  EXPECT_FALSE(dropTaken);

  Click(Main()->Canvas1()->Widget(), QPoint(200, 100));
  EXPECT_EQ(dialogs.fileFilters.size(), 2u) << "a click after the load";
}

// A moment's work is no wait: a key typed during it still counts.
TEST_F(BusyInputTest, KeysTypedDuringAMomentsWorkAreKept) {
  workMilliseconds = 0;
  auto* width = static_cast<QLineEdit*>(Main()->txtWidth()->Widget());
  width->setFocus();
  width->clear();
  DuringTheNextWork([width] { Key(width, Qt::Key_5); });
  Key(width, Qt::Key_2);
  Settle();
  EXPECT_EQ(Main()->txtWidth()->Text(), "25");
}
}  // namespace
