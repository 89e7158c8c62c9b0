#pragma once
// Inside the platform: the Qt widgets behind a Window.
#include <QMenuBar>
#include <QPointer>
#include <QWidget>

class Window;

// The top-level widget: tells its Window when it is activated or closed.
class WindowWidget : public QWidget {
 public:
  explicit WindowWidget(Window* owner);
  void Detach() { owner_ = nullptr; }

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  Window* owner_;
};

struct WindowWidgets {
  QPointer<WindowWidget> top;
  QPointer<QWidget> content;  // the content area, parent of the controls
  QPointer<QMenuBar> menuBar;
  // A window without a menu bar of its own: the holder of the application
  // menu bar's shortcut actions.
  QPointer<QObject> applicationShortcuts;
};

// Builds a platform menu bar showing the menu model.
class MenuBar;
QMenuBar* BuildPlatformMenuBar(const Ref<MenuBar>& bar, QWidget* parent);
// Makes the shortcuts of the menu model's items work in that window, with no
// menu bar shown: the application has one menu bar for all its windows.
// Deleting the object returned takes them away again.
QObject* AddApplicationShortcuts(const Ref<MenuBar>& bar, QWidget* window);
