#include "platform/ui/QtStart.h"

#include <QApplication>
#include <cstdlib>
#include <iostream>

namespace {
bool Named(const char* variable) {
  const char* value = std::getenv(variable);
  return value && *value;
}

// A platform named in QT_QPA_PLATFORM (offscreen, for one) is left to Qt.
void ExitUnlessADisplayIsNamed() {
  if (Named("DISPLAY") || Named("WAYLAND_DISPLAY") || Named("QT_QPA_PLATFORM")) return;
  std::cerr << "Vamor needs a graphical display, and neither DISPLAY nor WAYLAND_DISPLAY is set." << std::endl;
  std::exit(1);
}

// While Qt starts: a display that is named but cannot be opened ends in Qt's
// fatal error; Vamor adds its own line after Qt's warnings (which name the
// display) and exits with status 1 instead of aborting.
QtMessageHandler qtHandler = nullptr;
void FailedStart(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg) {
    if (qtHandler) qtHandler(type, context, message);
    return;
  }
  std::cerr << "Vamor could not open a graphical display (DISPLAY or WAYLAND_DISPLAY): Qt could not start"
            << " on any platform." << std::endl;
  std::_Exit(1);
}
}  // namespace

void StartQtOrExit() {
  ExitUnlessADisplayIsNamed();
  static int argc = 1;
  static char name[] = "vamor";
  static char* argv[] = {name, nullptr};
  qtHandler = qInstallMessageHandler(FailedStart);
  new QApplication(argc, argv);
  qInstallMessageHandler(qtHandler);
}
