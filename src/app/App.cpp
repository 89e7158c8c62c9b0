#include "app/App.h"

#include "platform/ui/Dialogs.h"
#include "platform/ui/System.h"

const char* const kQuickTimeMessage =
    "Vamor requires QuickTime.  You can download QuickTime for free at "
    "https://support.apple.com/downloads/quicktime";

const ClassRecord* App::Lookup_() {
  static const ClassRecord* record = RuntimeRegisterClass({
      .name = "App",
      .superclass = &Application::Lookup_,
      .ownOperations = {"Event_Open"},
      .members = {{"Event_Open", "%%", {{"__Scope", "Public"}}}},
      .handledEvents = {"Open"},
  });
  return record;
}

void App::Event_Open() {
  if (System().Quicktime().Installed()) return;
  MsgBox(kQuickTimeMessage);
  Quit(0);
}
