#pragma once
// Inside the platform: the application's event filter. It tracks the keys
// held for the keyboard object, runs the menu-enabling pass before a shortcut
// is matched, and drops user input that arrives while the program is at work.
#include <QObject>

class InputWatcher : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};
