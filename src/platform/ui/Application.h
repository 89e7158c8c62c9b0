#pragma once
// The application object and the framework's life cycle: initialisation, the
// event loop, the unhandled-exception report and the exit.
#include <cstdint>
#include <exception>

#include "platform/runtime/Object.h"

class MenuBar;

class Application : public Object {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }

  void MenuBar(const Ref<::MenuBar>& bar) { menuBar_ = bar; }
  const Ref<::MenuBar>& MenuBar() const { return menuBar_; }

  // The Open event, fired once during start-up on the registered object.
  virtual void Event_Open() {}

 private:
  Ref<::MenuBar> menuBar_;
};

// Makes the framework runtime usable (creates the Qt application if none).
void RuntimeInit();
// Initialises the framework, calls the start-up routine back, then fires the
// application's Open event.
void RunFrameworkInitialization_(void (*startup)());
void RuntimeInitExternalClasses_();
void RuntimeRegisterAppObject_(const Ref<Application>& app);
Ref<Application> RuntimeApplication();
// Runs the event loop until the application quits; an exception raised in a
// handler ends the loop and is rethrown here.
void RuntimeRun_();
// The framework's report of an exception that reached the top: its class and
// message on standard error and in a message box.
void UnhandledException_(std::exception_ptr exception);
// Asks the application to end with that status.
void Quit(int32_t status = 0);
// Lets go of the framework's own module properties: its window lists.
void RuntimeReleaseFrameworkProperties();
// Shuts the framework down: lets go of the application object. Its result is
// the exit status: non-zero after an unhandled exception.
int32_t RuntimeExit();
// The framework's background-task hook (a cooperative yield point).
void RuntimeBackgroundTask();
