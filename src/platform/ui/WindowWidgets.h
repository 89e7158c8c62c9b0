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
};

// Builds a platform menu bar showing the menu model.
class MenuBar;
QMenuBar* BuildPlatformMenuBar(const Ref<MenuBar>& bar, QWidget* parent);
