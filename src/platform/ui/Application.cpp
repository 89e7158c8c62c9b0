#include "platform/ui/Application.h"

#include <QApplication>
#include <malloc.h>

#include <iostream>

#include "platform/runtime/TestHooks.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Dispatch.h"
#include "platform/ui/InputWatcher.h"
#include "platform/ui/QtStart.h"
#include "platform/ui/Window.h"

namespace {
struct RuntimeState {
  Ref<Application> app;
  int32_t quitStatus = 0;
  bool quitRequested = false;
  bool unhandled = false;
};
RuntimeState& State() {
  static RuntimeState state;
  return state;
}
}  // namespace

const ClassRecord* Application::Lookup_() {
  static const ClassRecord* record = RuntimeRegisterClass({
      .name = "Application",
      .superclass = &Object::Lookup_,
      .ownOperations = {"NewDocument", "OpenDocument", "DoEvents", "_AddMenuHandler",
                        "_AddPollableObject", "_RemovePollableObject", "AddTrayItem",
                        "RemoveTrayItem", "YieldToNextThread", "SleepCurrentThread",
                        "_DoSingleEvent", "_EnableMenuItems", "_CallOpen", "_HandleMenuCommand",
                        "_LoadPictureFromBundle", "_LoadBundleSound", "__DependencyList"},
      .events = {"Open", "Close", "EnableMenuItems", "NewDocument", "OpenDocument",
                 "HandleAppleEvent", "Activate", "Deactivate", "UnhandledException",
                 "CancelClose"},
  });
  return record;
}

void RuntimeInit() {
  RuntimeTrace("RuntimeInit");
  // Tiles come and go by the thousand: keep pictures below 32 MB in the heap
  // instead of mapping fresh pages for each one and unmapping them again.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 128 << 20);
  State() = RuntimeState{};
  if (!QCoreApplication::instance()) StartQtOrExit();
  QApplication::setApplicationName("Vamor");
  static InputWatcher* watcher = nullptr;
  if (!watcher) {
    watcher = new InputWatcher;
    qApp->installEventFilter(watcher);
  }
}

void RunFrameworkInitialization_(void (*startup)()) {
  RuntimeTrace("RunFrameworkInitialization");
  startup();
  if (Ref<Application> app = State().app) {
    RuntimeTrace("AppOpen");
    app->Event_Open();
  }
}

void RuntimeInitExternalClasses_() { RuntimeTrace("RuntimeInitExternalClasses"); }

void RuntimeRegisterAppObject_(const Ref<Application>& app) {
  RuntimeTrace("RegisterAppObject");
  State().app = app;
}

Ref<Application> RuntimeApplication() { return State().app; }

void RuntimeRun_() {
  RuntimeTrace("RuntimeRun");
  if (!State().quitRequested && !RuntimeExceptionPending()) QApplication::exec();
  if (std::exception_ptr e = RuntimeTakePendingException()) std::rethrow_exception(e);
}

void UnhandledException_(std::exception_ptr exception) {
  std::string report;
  try {
    std::rethrow_exception(exception);
  } catch (const RuntimeException& e) {
    report = std::string(e.ClassName()) + ": " + e.Message();
  } catch (const std::exception& e) {
    report = std::string("RuntimeException: ") + e.what();
  } catch (...) {
    report = "RuntimeException: an unknown error";
  }
  State().unhandled = true;
  RuntimeTrace("UnhandledException " + report);
  std::cerr << "Vamor: unhandled exception " << report << std::endl;
  MsgBox("An error ended Vamor.\n\n" + report);
}

void Quit(int32_t status) {
  RuntimeTrace("Quit " + std::to_string(status));
  State().quitStatus = status;
  State().quitRequested = true;
  QCoreApplication::exit(status);
}

void RuntimeReleaseFrameworkProperties() {
  RuntimeTrace("ReleaseFrameworkProperties");
  RuntimeCloseAllWindows();
}

int32_t RuntimeExit() {
  RuntimeTrace("RuntimeExit");
  State().app = nullptr;
  return State().unhandled ? 1 : State().quitStatus;
}

void RuntimeBackgroundTask() { ++TestHooks::backgroundTasks; }
