#pragma once
// The real program on its own X server, seen and driven from outside as a
// user would: Xvfb for the screen, xdotool for the keys, the mouse and the
// windows, ImageMagick's import for what is on the screen.
#include <functional>
#include <string>

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A child process that is stopped, at the latest, when the test leaves: asked
// first, so that Xvfb removes its socket and lock file, killed if it lingers.
class OwnedProcess : public QProcess {
 public:
  ~OwnedProcess() override;
};

class VamorOnXvfb : public ::testing::Test {
 protected:
  static constexpr int kStepTimeoutMs = 20000;
  // The main window's content area, below its menu bar.
  static constexpr int kContentWidth = 600, kContentHeight = 437;

  // Skips the test without the tools; starts Xvfb.
  void SetUp() override;

  // Starts the program on the test's display, in the test's folder.
  testing::AssertionResult StartVamor(const QString& binary = VAMOR_BINARY);
  // Runs xdotool on the test's display; `output` receives what it printed.
  testing::AssertionResult Xdo(const QStringList& args, QString* output = nullptr) const;
  // The first visible window whose name matches, or an empty string.
  QString FindWindow(const QString& nameRegex) const;
  testing::AssertionResult WaitUntil(const std::string& step, const std::function<bool()>& done);
  testing::AssertionResult WaitForWindow(const std::string& step, const QString& nameRegex, QString* id);
  // Waits until the main window is mapped at its full size and notes the menu bar's height.
  testing::AssertionResult WaitForMainWindow();
  // What the window shows on the screen.
  testing::AssertionResult Capture(const QString& window, QImage* shot) const;
  // What a failed step leaves behind: vamor's state and output and a screenshot.
  std::string Evidence();

  QTemporaryDir folder;
  OwnedProcess xvfb;
  OwnedProcess vamor;  // declared after Xvfb: killed before it
  QString display, mainWindow;
  int menuBarHeight = 0;

 private:
  testing::AssertionResult StartXvfb();
  QProcessEnvironment OnDisplay() const;
};
