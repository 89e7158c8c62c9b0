#pragma once
// A started program without its event loop: the start-up sequence has run,
// the main window is open, dialogs are scripted and the main screen is
// 1280 x 800. Shut down again at the end of the test.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ScriptedDialogs.h"
#include "app/Startup.h"
#include "image/ImageTools.h"
#include "ui/Window1.h"

class StartedVamor : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  Ref<class Window1> Main() { return Window1(); }
  // Makes the main window the frontmost and runs the menu-enabling pass.
  void EnableMenus();

  DialogScript dialogs;
  std::vector<std::string> trace;
};

// Test pictures written with Qt into a temporary folder.
std::string TempDir();
// A picture of that size with a recognisable pattern, saved in that format.
std::string WritePicture(const std::string& name, int width, int height, const char* format = "PNG");
// Runs the event loop until the condition holds or the time runs out.
bool ProcessEventsUntil(const std::function<bool()>& condition, int milliseconds = 5000);
