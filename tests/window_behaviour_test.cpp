// The main window's handlers: tile-size edits, the Save rule, clicks,
// formats, the custom extension and Select All.
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "StartedVamor.h"
#include "image/OpenMenu.h"
#include "platform/runtime/TestHooks.h"
#include "ui/About.h"

namespace {
using WindowBehaviourTest = StartedVamor;

TEST_F(WindowBehaviourTest, SaveRuleReadsTheWidthFirst) {
  struct Case {
    const char* width;
    const char* height;
    bool enabled;
    bool heightRead;
  };
  const Case cases[] = {{"0", "100", false, false}, {"", "100", false, false}, {"1", "1", true, true},
                        {"100", "0", false, true},  {"100", "", false, true},  {"99999", "7", true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.width) + " / " + c.height);
    Main()->txtWidth()->Text(c.width);
    Main()->txtHeight()->Text(c.height);
    Main()->SaveButton()->Enabled(!c.enabled);
    trace.clear();
    Main()->UpdateSaveEnabled();
    EXPECT_EQ(Main()->SaveButton()->Enabled(), c.enabled);
    bool heightRead = std::count(trace.begin(), trace.end(), "Read txtHeight.Text") > 0;
    EXPECT_EQ(heightRead, c.heightRead);
  }
}

TEST_F(WindowBehaviourTest, KeystrokesRecomposeThePreviewOnlyOnceOneExists) {
  auto* width = static_cast<QLineEdit*>(Main()->txtWidth()->Widget());
  width->selectAll();
  QTest::keyClick(width, Qt::Key_5);
  EXPECT_EQ(ImageTools::WorkingImage, nullptr);
  EXPECT_TRUE(Main()->SaveButton()->Enabled()) << "the Save rule runs on every edit";

  dialogs.files.push_back(WritePicture("keys.png", 800, 600));
  OpenMenu::OpenImage();
  for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_2, Qt::Key_0}) {
    Ref<Picture> before = ImageTools::WorkingImage;
    QTest::keyClick(width, key);
    EXPECT_NE(ImageTools::WorkingImage, before) << "also while the field is empty";
    EXPECT_EQ(Main()->Canvas1()->Backdrop(), ImageTools::WorkingImage);
  }
  EXPECT_EQ(Main()->txtWidth()->Text(), "20");
  auto* height = static_cast<QLineEdit*>(Main()->txtHeight()->Widget());
  Ref<Picture> before = ImageTools::WorkingImage;
  QTest::keyClick(height, Qt::Key_Backspace);
  EXPECT_NE(ImageTools::WorkingImage, before);
  EXPECT_TRUE(Main()->SaveButton()->Enabled());
}

TEST_F(WindowBehaviourTest, ClickReleasedInsideTheCanvasOpensTheDialog) {
  struct Case {
    int x, y;
    bool opens;
  };
  const Case cases[] = {{0, 0, true},   {538, 284, true}, {269, 142, true}, {-1, 0, false},
                        {0, 285, false}, {539, 10, false}, {10, -1, false}};
  auto canvas = Main()->Canvas1();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
    size_t before = dialogs.fileFilters.size();
    EXPECT_TRUE(Main()->Canvas1_MouseDown(canvas, c.x, c.y));
    Main()->Canvas1_MouseUp(canvas, c.x, c.y);
    EXPECT_EQ(dialogs.fileFilters.size() - before, c.opens ? 1u : 0u);
  }
  // A real click on the canvas goes the same way.
  QTest::mouseClick(canvas->Widget(), Qt::LeftButton, {}, QPoint(100, 100));
  EXPECT_EQ(dialogs.fileFilters.size(), 4u);
}

TEST_F(WindowBehaviourTest, FormatChoosesTheExtensionAndTheQualityControls) {
  struct Case {
    int row;
    const char* extension;
    bool quality;
  };
  const Case cases[] = {{2, "tga", false}, {1, "png", false}, {3, "psd", false},
                        {4, "sgi", false}, {5, "bmp", false}, {0, "jpg", true}};
  Main()->QualityMenu()->ListIndex(3);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    Main()->formatMenu()->ListIndex(c.row);
    EXPECT_EQ(Main()->ExtensionText()->Text(), c.extension);
    EXPECT_EQ(Main()->QualityText()->Enabled(), c.quality);
    EXPECT_EQ(Main()->QualityMenu()->Enabled(), c.quality);
    EXPECT_EQ(Main()->QualityMenu()->ListIndex(), 3) << "the quality row is kept";
    EXPECT_FALSE(Main()->ExtensionText()->Enabled());
  }
}

// The darkest grey drawn inside a widget, away from its frame: its text.
int DarkestGrey(QWidget* widget) {
  const QImage image = widget->grab().toImage();
  int darkest = 255;
  for (int y = 4; y < image.height() - 4; ++y)
    for (int x = 4; x < image.width() - 4; ++x) darkest = std::min(darkest, qGray(image.pixel(x, y)));
  return darkest;
}

// Disabled fields and labels take the style's disabled colours; the property
// lists' colours are those of the enabled states.
TEST_F(WindowBehaviourTest, DisabledControlsDrawTheirTextInTheDisabledColours) {
  struct Case {
    const char* what;
    Ref<RectControl> control;
    QPalette::ColorRole role;
  };
  const Case cases[] = {{"the extension field", Main()->ExtensionText(), QPalette::Text},
                        {"the Quality label", Main()->QualityText(), QPalette::WindowText}};
  ASSERT_FALSE(Main()->ExtensionText()->Enabled()) << "disabled until Custom Extension is ticked";
  Main()->formatMenu()->ListIndex(1);
  ASSERT_FALSE(Main()->QualityText()->Enabled()) << "PNG has no quality";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QWidget* widget = c.control->Widget();
    const QPalette palette = widget->palette();
    EXPECT_EQ(palette.color(QPalette::Active, c.role), QColor(Qt::black)) << "the property list's colour";
    EXPECT_EQ(palette.color(QPalette::Inactive, c.role), QColor(Qt::black));
    EXPECT_NE(palette.color(QPalette::Disabled, c.role), palette.color(QPalette::Active, c.role));
    const QColor styleDisabled = QApplication::palette(widget).color(QPalette::Disabled, c.role);
    EXPECT_EQ(palette.color(QPalette::Disabled, c.role), styleDisabled) << "the style's disabled colour";
    const int disabled = DarkestGrey(widget);
    c.control->Enabled(true);
    const int enabled = DarkestGrey(widget);
    EXPECT_LT(enabled, 60) << "near-black text while enabled";
    EXPECT_GT(disabled, enabled + 40) << "lighter text while disabled";
  }
}

TEST_F(WindowBehaviourTest, CustomExtensionIsKeptWhileTickedAndReplacedWhenUnticked) {
  auto w = Main();
  w->formatMenu()->ListIndex(2);
  QTest::mouseClick(w->CustomCheck()->Widget(), Qt::LeftButton);
  ASSERT_TRUE(w->CustomCheck()->Value());
  EXPECT_TRUE(w->ExtensionText()->Enabled());
  EXPECT_EQ(w->ExtensionText()->Text(), "tga") << "ticking keeps the text";
  w->ExtensionText()->Text("tif");
  for (int row : {1, 5, 0}) {
    w->formatMenu()->ListIndex(row);
    EXPECT_EQ(w->ExtensionText()->Text(), "tif");
  }
  w->formatMenu()->ListIndex(2);
  QTest::mouseClick(w->CustomCheck()->Widget(), Qt::LeftButton);
  EXPECT_FALSE(w->ExtensionText()->Enabled());
  EXPECT_EQ(w->ExtensionText()->Text(), "tga");
}

TEST_F(WindowBehaviourTest, RowOutsideTheTableLeavesTheExtensionAlone) {
  Main()->ExtensionText()->Text("abc");
  Main()->formatMenu()->ListIndex(-1);
  EXPECT_EQ(Main()->ExtensionText()->Text(), "abc");
  Main()->CustomCheck_Action(Main()->CustomCheck());
  EXPECT_EQ(Main()->ExtensionText()->Text(), "abc");
}

// The handler tests the keys held at the moment, as the framework has seen them.
TEST_F(WindowBehaviourTest, SelectAllNeedsControlAndTheKeyOfA) {
  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool selects;
  };
  const Case cases[] = {{Qt::Key_A, Qt::ControlModifier, true},
                        {Qt::Key_A, Qt::NoModifier, false},
                        {Qt::Key_S, Qt::ControlModifier, false}};
  auto field = Main()->ExtensionText();
  field->Enabled(true);
  auto* edit = static_cast<QLineEdit*>(field->Widget());
  for (const Case& c : cases) {
    SCOPED_TRACE(QKeySequence(c.key | c.modifiers).toString().toStdString());
    field->Text("tif");
    QTest::keyPress(edit, c.key, c.modifiers);
    edit->deselect();
    EXPECT_FALSE(Main()->ExtensionText_KeyDown(field, "a")) << "never consumed";
    EXPECT_EQ(field->SelText(), c.selects ? "tif" : "");
    QTest::keyRelease(edit, c.key, c.modifiers);
  }
  // Typed keys go on to the field, under its mask and limit.
  field->Text("jp");
  edit->end(false);
  QTest::keyClicks(edit, "a.bc");
  EXPECT_EQ(field->Text(), "jpab");
}

TEST_F(WindowBehaviourTest, SaveButtonRunsTheExport) {
  Main()->SaveButton()->Enabled(true);
  Main()->SaveButton()->Push();
  EXPECT_EQ(dialogs.folderDialogs, 1);
}

TEST_F(WindowBehaviourTest, OpenMenuItemOpensTheDialogAndReturnsFalse) {
  EXPECT_FALSE(Main()->FileOpen()->Event_Action());
  EXPECT_EQ(dialogs.fileFilters, std::vector<std::string>{""});
}
}  // namespace
