// Opening a picture: fitting, the title, failures, cancel, drops.
#include <QCoreApplication>
#include <QWidget>
#include <QDropEvent>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QUrl>

#include "DroppedFiles.h"
#include "FileBytes.h"
#include "RefusalMessages.h"
#include "StartedVamor.h"
#include "image/OpenMenu.h"
#include "platform/graphics/PictureImage.h"

namespace {
using ImageLoadingTest = StartedVamor;

// What the canvas answers a drag source that offers `offered` and proposes a
// move (as Shift asks): accepted or not, and the action, on entering and on
// the drop.
struct DropAnswer {
  bool enterAccepted;
  Qt::DropAction enterAction;
  bool dropAccepted;
  Qt::DropAction dropAction;
};

DropAnswer Answer(QWidget* target, const std::string& path, Qt::DropActions offered) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
  QDragEnterEvent enter(QPoint(5, 5), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(enter.proposedAction(), Qt::MoveAction) << "the source's own choice";
  QCoreApplication::sendEvent(target, &enter);
  QDragMoveEvent move(QPoint(6, 6), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
  QCoreApplication::sendEvent(target, &move);
  EXPECT_EQ(move.isAccepted(), enter.isAccepted());
  EXPECT_EQ(move.dropAction(), enter.dropAction());
  QDropEvent drop(QPointF(6, 6), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
  QCoreApplication::sendEvent(target, &drop);
  QCoreApplication::processEvents();
  return {enter.isAccepted(), enter.dropAction(), drop.isAccepted(), drop.dropAction()};
}

TEST_F(ImageLoadingTest, ADropIsTakenAsACopyOrALinkNeverAsAMove) {
  QWidget* canvas = Main()->Canvas1()->Widget();
  const std::string path = WritePicture("moved.png", 64, 48);
  const DropAnswer all = Answer(canvas, path, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction);
  EXPECT_TRUE(all.enterAccepted);
  EXPECT_EQ(all.enterAction, Qt::CopyAction);
  EXPECT_TRUE(all.dropAccepted);
  EXPECT_EQ(all.dropAction, Qt::CopyAction) << "a source that honours a move would delete the picture";
  EXPECT_EQ(Main()->Title(), "Vamor: moved.png / 64 x 48");
  EXPECT_TRUE(QFile::exists(QString::fromStdString(path)));

  const DropAnswer moveOrLink = Answer(canvas, path, Qt::MoveAction | Qt::LinkAction);
  EXPECT_TRUE(moveOrLink.dropAccepted);
  EXPECT_EQ(moveOrLink.enterAction, Qt::LinkAction);
  EXPECT_EQ(moveOrLink.dropAction, Qt::LinkAction);

  Main()->Title("Vamor");
  const DropAnswer moveOnly = Answer(canvas, path, Qt::MoveAction);
  EXPECT_FALSE(moveOnly.enterAccepted);
  EXPECT_FALSE(moveOnly.dropAccepted);
  EXPECT_EQ(Main()->Title(), "Vamor") << "a drop that could only be a move is refused";
}

TEST_F(ImageLoadingTest, FitsThePreviewAndNamesTheSizeInTheTitle) {
  struct Case {
    int w, h, pw, ph;
    const char* size;
  };
  const Case cases[] = {
      {2000, 1000, 538, 269, "2000 x 1000"}, {1000, 450, 538, 242, "1000 x 450"},
      {3000, 1000, 538, 179, "3000 x 1000"}, {1076, 568, 538, 284, "1076 x 568"},
      {538, 284, 538, 284, "538 x 284"},     {400, 100, 400, 100, "400 x 100"},
      {1000, 2000, 142, 284, "1,000 x 2,000"}, {5000, 3000, 473, 284, "5,000 x 3,000"},
      {300, 200, 300, 200, "300 x 200"},     {999, 2000, 142, 284, "999 x 2,000"},
      {3000, 2, 538, 1, "3000 x 2"},  // a side that would round to 0 gets 1 pixel
  };
  for (const Case& c : cases) {
    const std::string name = "fit" + std::to_string(c.w) + "x" + std::to_string(c.h) + ".bmp";
    SCOPED_TRACE(name);
    dialogs.files.push_back(WritePicture(name, c.w, c.h, "BMP"));
    OpenMenu::OpenImage();
    ASSERT_TRUE(ImageTools::OriginalImage);
    EXPECT_EQ(ImageTools::OriginalImage->Width(), c.w);
    EXPECT_EQ(ImageTools::PreviewImage->Width(), c.pw);
    EXPECT_EQ(ImageTools::PreviewImage->Height(), c.ph);
    EXPECT_EQ(Main()->Title(), "Vamor: " + name + " / " + c.size);
    EXPECT_EQ(Main()->Canvas1()->Backdrop(), ImageTools::WorkingImage);
    EXPECT_TRUE(Main()->SaveButton()->Enabled());
  }
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ImageLoadingTest, PreviewAveragesAreasOfTheFullPicture) {
  // One-pixel black and white columns scale to grey, not to black or white.
  QImage stripes(2152, 1136, QImage::Format_RGB32);
  for (int x = 0; x < stripes.width(); ++x)
    for (int y = 0; y < stripes.height(); ++y) stripes.setPixel(x, y, x % 2 ? 0xFFFFFFFF : 0xFF000000);
  std::string path = TempDir() + "/stripes.png";
  stripes.save(QString::fromStdString(path));
  dialogs.files.push_back(path);
  OpenMenu::OpenImage();
  ASSERT_TRUE(ImageTools::PreviewImage);
  QRgb mid = ImageOf(*ImageTools::PreviewImage).pixel(100, 100);
  EXPECT_NEAR(qRed(mid), 128, 3);
}

TEST_F(ImageLoadingTest, CancelAndNilDropChangeNothing) {
  dialogs.files.push_back(WritePicture("first.png", 640, 480));
  OpenMenu::OpenImage();
  Ref<Picture> original = ImageTools::OriginalImage, preview = ImageTools::PreviewImage;
  Ref<Picture> shown = Main()->Canvas1()->Backdrop();
  std::string title = Main()->Title();

  dialogs.files.push_back(std::nullopt);
  OpenMenu::OpenImage();
  OpenMenu::OpenDraggedImage(nullptr);
  auto emptyDrop = std::make_shared<DragItem>(std::vector<std::string>{});
  Main()->Canvas1_DropObject(Main()->Canvas1(), emptyDrop, 0);
  EXPECT_EQ(ImageTools::OriginalImage, original);
  EXPECT_EQ(ImageTools::PreviewImage, preview);
  EXPECT_EQ(Main()->Canvas1()->Backdrop(), shown);
  EXPECT_EQ(Main()->Title(), title);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ImageLoadingTest, AFailedLoadKeepsTheOpenPictureUsable) {
  dialogs.files.push_back(WritePicture("good.png", 640, 480));
  OpenMenu::OpenImage();
  Main()->txtWidth()->Text("0");  // Save disabled by the size, kept through the failure
  const Ref<Picture> original = ImageTools::OriginalImage, preview = ImageTools::PreviewImage;
  const Ref<Picture> working = ImageTools::WorkingImage;
  const std::string title = Main()->Title();

  const std::string text = TempDir() + "/notes.txt";
  ASSERT_TRUE(Write(QString::fromStdString(text), "not a picture\n"));
  dialogs.files.push_back(text);
  OpenMenu::OpenImage();
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{kNoImageData});
  EXPECT_EQ(ImageTools::OriginalImage, original);
  EXPECT_EQ(ImageTools::PreviewImage, preview);
  EXPECT_EQ(ImageTools::WorkingImage, working);
  EXPECT_EQ(Main()->Canvas1()->Backdrop(), working);
  EXPECT_EQ(Main()->Title(), title);
  EXPECT_FALSE(Main()->SaveButton()->Enabled()) << "the Save rule is not applied after a failure";

  // The grid still follows the tile size, and the picture still exports.
  Main()->txtWidth()->Text("320");
  EXPECT_NE(ImageTools::WorkingImage, working);
  EXPECT_EQ(Main()->Canvas1()->Backdrop(), ImageTools::WorkingImage);
  ASSERT_TRUE(Main()->SaveButton()->Enabled());
  const std::string folder = TempDir() + "/tiles";
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
  dialogs.folders.push_back(folder);
  Main()->SaveButton_Action(Main()->SaveButton());
  EXPECT_EQ(dialogs.messages.size(), 1u) << dialogs.messages.back();
  EXPECT_EQ(QDir(QString::fromStdString(folder)).entryList(QDir::Files).size(), 2 * 5);
}

TEST_F(ImageLoadingTest, FailedFirstLoadKeepsThePlaceholder) {
  Ref<Picture> placeholder = Main()->Canvas1()->Backdrop();
  dialogs.files.push_back(TempDir() + "/notes.txt");
  ASSERT_TRUE(Write(QString::fromStdString(dialogs.files.back().value()), "not a picture\n"));
  OpenMenu::OpenImage();
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{kNoImageData});
  EXPECT_EQ(ImageTools::PreviewImage, nullptr);
  EXPECT_EQ(Main()->Canvas1()->Backdrop(), placeholder);
  EXPECT_EQ(Main()->Title(), "Vamor");
}

TEST_F(ImageLoadingTest, DropAndDialogGiveTheSameState) {
  std::string path = WritePicture("same.png", 1200, 700);
  dialogs.files.push_back(path);
  OpenMenu::OpenImage();
  std::string title = Main()->Title();
  QImage shown = ImageOf(*Main()->Canvas1()->Backdrop()).copy();

  ImageTools::OriginalImage = ImageTools::PreviewImage = nullptr;
  Main()->Title("Vamor");
  Drop(Main()->Canvas1()->Widget(), {path});
  EXPECT_EQ(Main()->Title(), title);
  EXPECT_EQ(ImageOf(*Main()->Canvas1()->Backdrop()), shown);
}

TEST_F(ImageLoadingTest, ThreeDroppedFilesLoadOnlyTheFirst) {
  std::string first = WritePicture("drop1.png", 320, 200);
  std::string second = WritePicture("drop2.png", 640, 400);
  std::string notPicture = TempDir() + "/drop3.txt";
  Drop(Main()->Canvas1()->Widget(), {first, second, notPicture});
  EXPECT_EQ(Main()->Title(), "Vamor: drop1.png / 320 x 200");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ImageLoadingTest, ALoadWithATileSizeBelowOneShowsThePictureAndKeepsSaveDisabled) {
  Main()->txtHeight()->Text("0");
  dialogs.files.push_back(WritePicture("zero.png", 640, 480));
  OpenMenu::OpenImage();
  EXPECT_EQ(Main()->Canvas1()->Backdrop(), ImageTools::WorkingImage);
  EXPECT_FALSE(Main()->SaveButton()->Enabled());
}
}  // namespace
