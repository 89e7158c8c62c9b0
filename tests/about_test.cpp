// The About window and its menu item.
#include <QLabel>

#include "StartedVamor.h"
#include "app/AboutMenuClass.h"
#include "platform/runtime/TestHooks.h"
#include "platform/ui/WindowWidgets.h"
#include "ui/About.h"

namespace {
using AboutTest = StartedVamor;

int OpenAboutWindows() {
  int count = 0;
  for (const auto& w : RuntimeOpenWindows()) count += w->ClassInfo()->name == "About.About";
  return count;
}

TEST_F(AboutTest, ChoosingTheItemTwiceShowsOneWindowInFront) {
  auto item = Main()->AppleAboutVamor();
  EXPECT_FALSE(item->Event_Action());
  Ref<class About> first = About();
  first->Left(10);
  EXPECT_FALSE(item->Event_Action());
  EXPECT_EQ(OpenAboutWindows(), 1);
  EXPECT_EQ(About(), first);
  EXPECT_EQ(RuntimeFrontmostWindow(), first);
  EXPECT_EQ(first->Left(), 10) << "shown again where it is";
  EXPECT_TRUE(Main()->IsOpen()) << "not modal, beside the main window";
}

TEST_F(AboutTest, ClosedWindowIsBuiltAgainCentred) {
  Main()->AppleAboutVamor()->Event_Action();
  Ref<class About> first = About();
  first->Left(5);
  first->Close();
  EXPECT_EQ(OpenAboutWindows(), 0);
  Main()->AppleAboutVamor()->Event_Action();
  EXPECT_NE(About(), first);
  EXPECT_EQ(About()->Left(), 490);
  EXPECT_EQ(About()->Top(), 354);  // 354.5 cut
}

// Centred on the main screen wherever it stands on the desktop, and not
// clamped to it when the screen is smaller than the window.
TEST_F(AboutTest, CentresOnTheMainScreenWithoutClamping) {
  struct Case {
    int screenLeft, screenTop, screenW, screenH, left, top;
  };
  const Case cases[] = {{0, 0, 1440, 900, 570, 404},
                        {0, 0, 1024, 768, 362, 338},
                        {0, 0, 250, 80, -25, -5},
                        {0, 0, 301, 91, 0, 0},
                        {1280, 0, 1920, 1080, 1280 + 810, 494},
                        {-1440, -900, 1440, 900, -1440 + 570, -900 + 404},
                        {0, 300, 1024, 768, 362, 300 + 338}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.screenW << " x " << c.screenH << " at " << c.screenLeft
                                    << ", " << c.screenTop);
    TestHooks::screenLeft = c.screenLeft;
    TestHooks::screenTop = c.screenTop;
    TestHooks::screenWidth = c.screenW;
    TestHooks::screenHeight = c.screenH;
    Ref<class About> about = About();
    EXPECT_EQ(about->Left(), c.left);
    EXPECT_EQ(about->Top(), c.top);
    about->Close();
  }
}

TEST_F(AboutTest, WindowAndLabelsHaveTheirLooks) {
  Ref<class About> about = About();
  EXPECT_EQ(about->Title(), "About Vamor");
  EXPECT_EQ(about->Width(), 300);
  EXPECT_EQ(about->Height(), 91);
  EXPECT_EQ(about->MenuBar(), nullptr);
  QWidget* top = about->Widgets().top;
  EXPECT_EQ(top->minimumSize(), top->maximumSize());
  EXPECT_TRUE(top->windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(top->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(top->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

  auto title = about->StaticText1();
  auto version = about->StaticText2();
  EXPECT_EQ(title->Text(), "Vamor");
  EXPECT_EQ(version->Text(), "Korvath Vamor v1.2");
  EXPECT_EQ(title->TextColor(), 0x000000);
  EXPECT_EQ(version->TextColor(), 0x666666);
  EXPECT_TRUE(title->Bold());
  EXPECT_FALSE(version->Bold());
  EXPECT_FLOAT_EQ(title->TextSize(), 24.0f);
  EXPECT_FLOAT_EQ(version->TextSize(), 0.0f) << "the default size";
  EXPECT_EQ(title->Widget()->font().pointSizeF(), 24.0);
  for (const auto& label : {title, version}) {
    EXPECT_EQ(label->TextAlign(), 1);
    EXPECT_TRUE(static_cast<QLabel*>(label->Widget())->alignment().testFlag(Qt::AlignHCenter));
    EXPECT_EQ(label->Left(), 20);
    EXPECT_EQ(label->Width(), 260);
  }
  EXPECT_EQ(std::tuple(title->Top(), title->Height()), std::tuple(14, 44));
  EXPECT_EQ(std::tuple(version->Top(), version->Height()), std::tuple(51, 20));
  // The version label, made second, lies above the title where they overlap.
  EXPECT_EQ(about->Widgets().content->children().last(), version->Widget());
}
}  // namespace
