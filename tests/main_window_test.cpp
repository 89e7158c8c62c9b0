// The main window as it opens: its size, place, controls, menu and fields.
#include <QClipboard>
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>

#include "StartedVamor.h"
#include "app/AboutMenuClass.h"
#include "app/MenuBar1.h"
#include "image/OpenMenu.h"
#include "platform/files/BundleResources.h"
#include "platform/runtime/TestHooks.h"
#include "platform/ui/WindowWidgets.h"
#include "ui/About.h"

namespace {
using MainWindowTest = StartedVamor;

TEST_F(MainWindowTest, OpensCentredAtItsFixedSize) {
  auto w = Main();
  EXPECT_EQ(w->Width(), 600);
  EXPECT_EQ(w->Height(), 437);
  EXPECT_EQ(w->Title(), "Vamor");
  EXPECT_EQ(w->Left(), 340);
  EXPECT_EQ(w->Top(), 181);  // 181.5 cut to a whole pixel
  QWidget* top = w->Widgets().top;
  ASSERT_TRUE(top && top->isVisible());
  EXPECT_EQ(top->minimumSize(), top->maximumSize()) << "not resizable";
  EXPECT_FALSE(top->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(top->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(top->windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_EQ(w->Widgets().content->size(), QSize(600, 437));
  EXPECT_EQ(w->Widgets().content->mapToGlobal(QPoint(0, 0)), QPoint(340, 181));
}

// A main screen that is not at the desktop's origin: the window opens on it.
TEST_F(MainWindowTest, OpensCentredOnTheMainScreenWhereverItIs) {
  struct Case {
    int screenLeft, screenTop, screenW, screenH, left, top;
  };
  const Case cases[] = {{1280, 0, 1920, 1080, 1280 + 660, 321},
                        {-1024, -200, 1280, 800, -1024 + 340, -200 + 181},
                        {0, 0, 1280, 800, 340, 181}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.screenLeft) + ", " + std::to_string(c.screenTop));
    Main()->Close();
    TestHooks::screenLeft = c.screenLeft;
    TestHooks::screenTop = c.screenTop;
    TestHooks::screenWidth = c.screenW;
    TestHooks::screenHeight = c.screenH;
    auto w = Main();
    EXPECT_EQ(w->Left(), c.left);
    EXPECT_EQ(w->Top(), c.top);
    EXPECT_EQ(w->Widgets().content->mapToGlobal(QPoint(0, 0)), QPoint(c.left, c.top));
  }
}

TEST_F(MainWindowTest, EveryControlStandsAtItsBoundsInCreationOrder) {
  struct Bounds {
    const char* name;
    const char* className;
    int left, top, width, height;
  };
  const Bounds expected[] = {
      {"Rectangle1", "Rectangle", -1, -1, 602, 316}, {"txtTime", "StaticText", 413, 333, 167, 20},
      {"txtHeight", "TextField", 269, 332, 110, 22}, {"StaticText2", "StaticText", 207, 333, 50, 20},
      {"StaticText3", "StaticText", 20, 366, 53, 20}, {"StaticText1", "StaticText", 20, 333, 50, 20},
      {"txtWidth", "TextField", 82, 332, 110, 22},   {"CustomCheck", "CheckBox", 20, 397, 148, 20},
      {"formatMenu", "PopupMenu", 82, 365, 297, 20}, {"ExtensionText", "TextField", 168, 396, 211, 22},
      {"QualityText", "StaticText", 413, 366, 87, 20}, {"QualityMenu", "PopupMenu", 468, 365, 112, 20},
      {"SaveButton", "PushButton", 413, 397, 167, 20}, {"Canvas1", "Canvas", 31, 22, 538, 284},
      {"Line1", "Line", -28, 317, 100, 50},
  };
  const auto& controls = Main()->Controls();
  ASSERT_EQ(controls.size(), std::size(expected));
  for (size_t i = 0; i < controls.size(); ++i) {
    const Bounds& b = expected[i];
    SCOPED_TRACE(b.name);
    EXPECT_EQ(controls[i], Main()->ControlByName_(b.name));
    EXPECT_EQ(controls[i]->Name(), b.name);
    EXPECT_EQ(controls[i]->ClassInfo()->name, b.className);
    EXPECT_EQ(controls[i]->Left(), b.left);
    EXPECT_EQ(controls[i]->Top(), b.top);
    EXPECT_EQ(controls[i]->Width(), b.width);
    EXPECT_EQ(controls[i]->Height(), b.height);
  }
  // The line is drawn from (-28, 315) to (628, 315), above everything.
  auto line = Main()->Line1();
  EXPECT_EQ(std::tuple(line->X1(), line->Y1(), line->X2(), line->Y2()), std::tuple(-28, 315, 628, 315));
  EXPECT_EQ(line->Widget(), Main()->Widgets().content->children().last());
}

TEST_F(MainWindowTest, ControlsStartAtTheirInitialValues) {
  auto w = Main();
  EXPECT_EQ(w->txtWidth()->Text(), "100");
  EXPECT_EQ(w->txtHeight()->Text(), "100");
  EXPECT_EQ(w->formatMenu()->ListIndex(), 0);
  EXPECT_EQ(w->formatMenu()->Text(), "Joint Photographic Experts Group (.jpg)");
  EXPECT_EQ(w->formatMenu()->ListCount(), 6);
  EXPECT_EQ(w->QualityMenu()->ListCount(), 11);
  EXPECT_EQ(w->QualityMenu()->ListIndex(), 8);
  EXPECT_EQ(w->QualityMenu()->Text(), "80");
  EXPECT_EQ(w->ExtensionText()->Text(), "jpg");
  EXPECT_FALSE(w->ExtensionText()->Enabled());
  EXPECT_FALSE(w->CustomCheck()->Value());
  EXPECT_EQ(w->CustomCheck()->Caption(), "Custom Extension:");
  EXPECT_EQ(w->SaveButton()->Caption(), "Save Tiles...");
  EXPECT_FALSE(w->SaveButton()->Enabled()) << "no handler ran for the initial sizes";
  EXPECT_EQ(w->txtTime()->Text(), "");
  EXPECT_EQ(w->txtTime()->TextAlign(), 2);
  EXPECT_EQ(w->txtTime()->TextColor(), 0x666666);
  EXPECT_EQ(w->StaticText1()->Text(), "Width:");
  EXPECT_EQ(w->StaticText2()->Text(), "Height:");
  EXPECT_EQ(w->StaticText3()->Text(), "Format:");
  EXPECT_EQ(w->QualityText()->Text(), "Quality:");
  EXPECT_TRUE(w->QualityText()->Enabled());
  EXPECT_EQ(w->txtWidth()->HelpTag(), "Width of each tile, in pixels.");
  EXPECT_EQ(w->txtHeight()->HelpTag(), "Height of each tile, in pixels.");
  EXPECT_EQ(w->Rectangle1()->TopLeftColor(), 0x808080);
  EXPECT_EQ(w->Rectangle1()->FillColor(), 0xFFFFFF);
  EXPECT_TRUE(w->Canvas1()->Backdrop()) << "the placeholder picture";
  EXPECT_EQ(w->Canvas1()->AcceptedFileTypes(), std::vector<std::string>{"special/any"});
  EXPECT_EQ(ImageTools::WorkingImage, nullptr) << "no preview was asked for";
}

TEST_F(MainWindowTest, TabMovesTheFocusInTabIndexOrder) {
  auto w = Main();
  w->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w->Widgets().top));
  w->txtHeight()->Widget()->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), w->txtWidth()->Widget());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), w->CustomCheck()->Widget());
}

TEST_F(MainWindowTest, FileMenuHoldsItsThreeItems) {
  auto bar = Main()->MenuBar();
  ASSERT_EQ(bar->Count(), 1);
  auto file = Main()->FileMenu();
  EXPECT_EQ(file, bar->Item(0));
  EXPECT_EQ(file->Text(), "&File");
  struct Row {
    const char* name;
    const char* text;
    const char* shortcut;
    bool autoEnable;
  };
  const Row rows[] = {{"FileOpen", "Open...", "Cmd+O", false},
                      {"AppleAboutVamor", "About Vamor", "", true},
                      {"FileQuit", "&Quit", "Cmd+Q", true}};
  ASSERT_EQ(file->Count(), 3);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(rows[i].name);
    EXPECT_EQ(file->Item(i)->Name(), rows[i].name);
    EXPECT_EQ(file->Item(i)->Text(), rows[i].text);
    EXPECT_EQ(file->Item(i)->KeyboardShortcut(), rows[i].shortcut);
    EXPECT_EQ(file->Item(i)->AutoEnable(), rows[i].autoEnable);
  }
  EXPECT_TRUE(std::dynamic_pointer_cast<OpenMenu>(file->Item(0)));
  EXPECT_TRUE(std::dynamic_pointer_cast<AboutMenuClass>(file->Item(1)));
  EXPECT_TRUE(std::dynamic_pointer_cast<QuitMenuItem>(file->Item(2)));
  EXPECT_EQ(Main()->FileOpen(), file->Item(0));
  EXPECT_EQ(Main()->FileQuit(), file->Item(2));
  EXPECT_EQ(Main()->AppleAboutVamor(), file->Item(1));

  QMenuBar* platformBar = Main()->Widgets().menuBar;
  ASSERT_TRUE(platformBar);
  QList<QAction*> menus = platformBar->actions();
  ASSERT_EQ(menus.size(), 1);
  EXPECT_EQ(menus[0]->text(), "&File");
  QList<QAction*> items = menus[0]->menu()->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0]->shortcut(), QKeySequence("Ctrl+O"));
  EXPECT_EQ(items[2]->shortcut(), QKeySequence("Ctrl+Q"));
}

TEST_F(MainWindowTest, OpenIsEnabledOnlyWhileTheMainWindowIsInFront) {
  EnableMenus();
  EXPECT_TRUE(Main()->FileOpen()->Enabled());
  About()->Show();
  RuntimeEnableMenuItems();
  EXPECT_FALSE(Main()->FileOpen()->Enabled());
  EXPECT_TRUE(Main()->AppleAboutVamor()->Enabled());
  EnableMenus();
  EXPECT_TRUE(Main()->FileOpen()->Enabled());
}

TEST_F(MainWindowTest, CtrlOOpensTheDialogOnlyFromTheMainWindow) {
  EnableMenus();
  QWidget* top = Main()->Widgets().top;
  ASSERT_TRUE(QTest::qWaitForWindowActive(top));
  QTest::keyClick(top, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(dialogs.fileFilters.size(), 1u);
  EXPECT_EQ(dialogs.fileFilters[0], "") << "the dialog has no filter";

  About()->Show();
  QWidget* about = About()->Widgets().top;
  ASSERT_TRUE(QTest::qWaitForWindowActive(about));
  QTest::keyClick(about, Qt::Key_O, Qt::ControlModifier);
  QTest::keyClick(top, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(dialogs.fileFilters.size(), 1u);
}

TEST_F(MainWindowTest, ClosedWindowIsBuiltAgainWithTheSameMenuBarAndPicture) {
  auto first = Main();
  auto bar = first->MenuBar();
  auto placeholder = first->Canvas1()->Backdrop();
  first->txtWidth()->Text("7");
  first->Close();
  EXPECT_FALSE(first->IsOpen());
  EXPECT_EQ(GetImplicitWindow_("Window1.Window1"), nullptr);
  first.reset();

  auto second = Main();
  EXPECT_TRUE(second->IsOpen());
  EXPECT_EQ(second->MenuBar(), bar);
  EXPECT_EQ(second->MenuBar(), MenuBar1());
  EXPECT_EQ(second->Canvas1()->Backdrop(), placeholder) << "the cached picture, not read again";
  EXPECT_EQ(second->txtWidth()->Text(), "100");
  EXPECT_EQ(second->QualityMenu()->ListIndex(), 8);
  EXPECT_FALSE(second->SaveButton()->Enabled());
  EXPECT_EQ(second->Left(), 340);
  EXPECT_EQ(Main(), second) << "an open window is returned unchanged";
}

TEST_F(MainWindowTest, FieldsAdmitOnlyTheirCharactersAndLength) {
  struct Case {
    const char* field;
    const char* typed;
    const char* pasted;
    const char* afterTyping;
    const char* afterPasting;
  };
  const Case cases[] = {
      {"txtWidth", "12a3-4567", "9x", "12345", "12345"},
      {"txtHeight", "7 8", "123456789", "78", "78123"},
      {"ExtensionText", "t.if9z", "ab!", "tif9", "tif9"},
      {"ExtensionText", "Ab", "C3d", "Ab", "AbC3"},
  };
  Main()->CustomCheck()->Value(true);
  Main()->ExtensionText()->Enabled(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " " + c.typed);
    auto field = RuntimeCheckCast<TextField>(Main()->ControlByName_(c.field));
    auto* edit = static_cast<QLineEdit*>(field->Widget());
    field->Text("");
    QTest::keyClicks(edit, c.typed);
    EXPECT_EQ(field->Text(), c.afterTyping);
    QApplication::clipboard()->setText(c.pasted);
    edit->end(false);
    edit->paste();
    EXPECT_EQ(field->Text(), c.afterPasting);
  }
}

// The About window shows no menu bar, but the application's shortcuts work
// there as in the main window; Open stays disabled.
TEST_F(MainWindowTest, CtrlQQuitsFromTheAboutWindowToo) {
  EnableMenus();
  About()->Show();
  QWidget* about = About()->Widgets().top;
  ASSERT_TRUE(QTest::qWaitForWindowActive(about));
  EXPECT_EQ(About()->MenuBar(), nullptr);
  EXPECT_EQ(about->findChild<QMenuBar*>(), nullptr) << "no menu bar is shown";
  QTest::keyClick(about, Qt::Key_O, Qt::ControlModifier);
  EXPECT_TRUE(dialogs.fileFilters.empty());
  EXPECT_EQ(std::find(trace.begin(), trace.end(), "Quit 0"), trace.end());
  QTest::keyClick(about, Qt::Key_Q, Qt::ControlModifier);
  EXPECT_NE(std::find(trace.begin(), trace.end(), "Quit 0"), trace.end());
}

TEST_F(MainWindowTest, CtrlQQuits) {
  EnableMenus();
  QWidget* top = Main()->Widgets().top;
  ASSERT_TRUE(QTest::qWaitForWindowActive(top));
  QTest::keyClick(top, Qt::Key_Q, Qt::ControlModifier);
  EXPECT_NE(std::find(trace.begin(), trace.end(), "Quit 0"), trace.end());
}
}  // namespace
