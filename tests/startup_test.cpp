// The start-up sequence, the QuickTime check and the shut-down.
#include <gtest/gtest.h>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <map>
#include <set>
#include <algorithm>

#include "ScriptedDialogs.h"
#include "app/App.h"
#include "app/MenuBar1.h"
#include "app/PluginEntrypoints.h"
#include "app/Startup.h"
#include "image/AllFiles.h"
#include "platform/files/FileType.h"
#include "platform/runtime/TestHooks.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"
#include "ui/Window1.h"

namespace {
class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestHooks::trace = [this](const std::string& line) { trace.push_back(line); };
    SetDialogInterface(std::make_unique<ScriptedDialogs>(dialogs));
  }
  void TearDown() override {
    TestHooks::trace = nullptr;
    TestHooks::quicktimeInstalled = true;
    SetDialogInterface(nullptr);
  }

  // Runs the whole program; `whileRunning` runs once the event loop is up.
  int RunProgram(std::function<void()> whileRunning) {
    QTimer::singleShot(0, [whileRunning] { whileRunning(); });
    return VamorMain();
  }

  std::vector<std::string> Lines(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const auto& line : trace)
      if (line.rfind(prefix, 0) == 0) found.push_back(line);
    return found;
  }
  size_t Position(const std::string& line) const {
    return size_t(std::find(trace.begin(), trace.end(), line) - trace.begin());
  }

  DialogScript dialogs;
  std::vector<std::string> trace;
};

TEST_F(StartupTest, RunsItsStepsInOrderAndQuitsWithStatusZero) {
  Ref<Application> app;
  Ref<Window> main;
  std::vector<RegisteredFileType> typesWhileRunning;
  int status = RunProgram([&] {
    app = RuntimeApplication();
    main = GetImplicitWindow_("Window1.Window1");
    typesWhileRunning = RuntimeRegisteredFileTypes();
    Quit(0);
  });
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(dialogs.messages.empty());

  const std::vector<std::string> steps = {
      "RuntimeInit", "RegisterClass App", "RegisterClass Window1.Window1",
      "RegisterClass MenuBar1.MenuBar1", "RegisterClass OpenMenu", "RegisterClass About.About",
      "RegisterClass AboutMenuClass", "RunFrameworkInitialization", "RuntimeInitExternalClasses",
      "AllocatePluginEntrypointsTable 146", "RegisterFileType special/any", "RegisterAppObject",
      "WindowCreated Window1.Window1", "AppOpen", "RuntimeRun", "ReleaseFrameworkProperties",
      "Release MenuBar1._implicitInstance", "Release ImageTools.OriginalImage",
      "Release ImageTools.PreviewImage", "Release ImageTools.WorkingImage", "Release AllFiles.pAny",
      "RuntimeExit"};
  for (size_t i = 1; i < steps.size(); ++i)
    EXPECT_LT(Position(steps[i - 1]), Position(steps[i])) << steps[i - 1] << " before " << steps[i];
  // The framework's classes register before the program's.
  EXPECT_LT(Position("RegisterClass Window"), Position("RegisterClass App"));

  std::vector<std::string> lookups = Lines("LookupPluginEntrypoint ");
  ASSERT_EQ(lookups.size(), 146u);
  for (size_t i = 0; i < lookups.size(); ++i)
    EXPECT_EQ(lookups[i], "LookupPluginEntrypoint " + std::string(PluginEntrypointTexts()[i]));
  EXPECT_LT(Position(lookups.back()), Position("RegisterFileType special/any"));

  ASSERT_TRUE(app && main);
  EXPECT_TRUE(std::dynamic_pointer_cast<App>(app));
  EXPECT_EQ(app->MenuBar(), main->MenuBar());
  EXPECT_TRUE(std::dynamic_pointer_cast<class MenuBar1>(main->MenuBar()));
  ASSERT_EQ(typesWhileRunning.size(), 1u);
  EXPECT_EQ(typesWhileRunning[0].name, "special/any");
  EXPECT_EQ(typesWhileRunning[0].type, "????");
  EXPECT_EQ(typesWhileRunning[0].creator, "????");
  EXPECT_EQ(typesWhileRunning[0].extensions, "");
}

TEST_F(StartupTest, TheFourCalledEntriesHaveTheirDeclaredTexts) {
  const auto& texts = PluginEntrypointTexts();
  EXPECT_EQ(texts[0], "GetQTGraphicsExporter(format as string) As QTGraphicsExporter");
  EXPECT_EQ(texts[73], "QTGraphicsExporter.__exit");
  EXPECT_EQ(texts[75], "QTGraphicsExporter.SavePicture(location As FolderItem, image As Picture) As Boolean");
  EXPECT_EQ(texts[82], "QTGraphicsExporter.CompressionQuality.Set");
  EXPECT_EQ(std::set<std::string_view>(texts.begin(), texts.end()).size(), texts.size());
}

TEST_F(StartupTest, WithoutQuickTimeShowsTheMessageOnceAndQuitsWithZero) {
  TestHooks::quicktimeInstalled = false;
  bool loopRan = false;
  int status = RunProgram([&] { loopRan = true; });
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(loopRan);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0],
            std::string("Vamor requires QuickTime.  You can download QuickTime for free at ") +
                "https://support.apple.com/downloads/quicktime");
}

TEST_F(StartupTest, AnExceptionInAHandlerIsReportedOnceThenShutsDown) {
  dialogs.onOpenFile = [] { throw RuntimeException("the disk went away"); };
  int status = RunProgram([] { QTest::mouseClick(Window1()->Canvas1()->Widget(), Qt::LeftButton, {}, QPoint(10, 10)); });
  EXPECT_NE(status, 0);
  std::vector<std::string> reports = Lines("UnhandledException ");
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], "UnhandledException RuntimeException: the disk went away");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_NE(dialogs.messages[0].find("the disk went away"), std::string::npos);
  EXPECT_LT(Position(reports[0]), Position("Release MenuBar1._implicitInstance"));
  EXPECT_EQ(MenuBar1Module::_implicitInstance, nullptr);
  EXPECT_EQ(AllFiles::pAny, nullptr);
}
// The real program without a display: one line on standard error and status
// 1, not Qt's abort and a core dump.
struct BinaryRun {
  bool finished = false;
  QProcess::ExitStatus exitStatus = QProcess::CrashExit;
  int exitCode = -1;
  QString errors;
};

BinaryRun RunBinary(const std::map<QString, QString>& set, int milliseconds = 10000) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
  for (const auto& [name, value] : set) env.insert(name, value);
  QProcess vamor;
  vamor.setProcessEnvironment(env);
  vamor.start(VAMOR_BINARY, {});
  BinaryRun run;
  run.finished = vamor.waitForStarted() && vamor.waitForFinished(milliseconds);
  if (!run.finished) {
    vamor.kill();
    vamor.waitForFinished();
  }
  run.exitStatus = vamor.exitStatus();
  run.exitCode = vamor.exitCode();
  run.errors = QString::fromUtf8(vamor.readAllStandardError());
  return run;
}

TEST(NoDisplayTest, WithoutADisplaySaysSoInOneLineAndExitsWithOne) {
  const BinaryRun run = RunBinary({});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitStatus, QProcess::NormalExit) << "no abort";
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errors, "Vamor needs a graphical display, and neither DISPLAY nor WAYLAND_DISPLAY is set.\n");
}

TEST(NoDisplayTest, ADisplayThatCannotBeOpenedEndsWithOneAndNoAbort) {
  const BinaryRun run = RunBinary({{"DISPLAY", ":65531"}});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitStatus, QProcess::NormalExit) << "no abort";
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.errors.endsWith("Vamor could not open a graphical display (DISPLAY or WAYLAND_DISPLAY): Qt could "
                                  "not start on any platform.\n"))
      << run.errors.toStdString();
  EXPECT_FALSE(run.errors.contains("Reinstalling")) << run.errors.toStdString();
}

TEST(NoDisplayTest, AnExplicitPlatformStillStartsWithoutADisplay) {
  const BinaryRun run = RunBinary({{"QT_QPA_PLATFORM", "offscreen"}}, 1500);
  EXPECT_FALSE(run.finished) << "still running after 1.5 s: " << run.errors.toStdString();
}
}  // namespace
