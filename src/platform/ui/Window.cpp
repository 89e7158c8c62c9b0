#include "platform/ui/Window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/runtime/TestHooks.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/MenuItem.h"
#include "platform/ui/System.h"
#include "platform/ui/WindowWidgets.h"

namespace {
std::vector<Ref<Window>>& OpenWindows() {
  static std::vector<Ref<Window>> windows;
  return windows;
}

void BringToFront(Window* window) {
  auto& windows = OpenWindows();
  auto it = std::find_if(windows.begin(), windows.end(),
                         [&](const Ref<Window>& w) { return w.get() == window; });
  if (it != windows.end()) std::rotate(windows.begin(), it, it + 1);
}

Ref<Window> Forget(Window* window) {
  auto& windows = OpenWindows();
  auto it = std::find_if(windows.begin(), windows.end(),
                         [&](const Ref<Window>& w) { return w.get() == window; });
  if (it == windows.end()) return nullptr;
  Ref<Window> kept = *it;
  windows.erase(it);
  return kept;
}
}  // namespace

// The window's life ends with its platform window: the framework lets go of
// it and its controls.
class WindowCloser {
 public:
  static void Closed(Window* window) {
    Ref<Window> keep = Forget(window);
    if (!keep) return;
    window->controls_.clear();
    window->named_.clear();
    RuntimeTrace("WindowClosed " + window->ClassInfo()->name);
  }
};

WindowWidget::WindowWidget(Window* owner) : owner_(owner) {}

bool WindowWidget::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && owner_) BringToFront(owner_);
  return QWidget::event(event);
}

void WindowWidget::closeEvent(QCloseEvent* event) {
  event->accept();
  if (Window* owner = std::exchange(owner_, nullptr)) WindowCloser::Closed(owner);
  deleteLater();
}

const ClassRecord* Window::Lookup_() {
  static const ClassRecord* record = RuntimeRegisterClass({
      .name = "Window",
      .superclass = &Object::Lookup_,
      .ownOperations = {"Show", "ShowWithin", "ShowModalWithin", "Hide", "Close", "Refresh",
                        "RefreshRect", "ShowModal", "NewDragItem", "AcceptTextDrop",
                        "AcceptPictureDrop", "AcceptFileDrop", "AcceptMacDataDrop",
                        "AcceptRawDataDrop", "Control", "SetFocus", "DrawInto", "_DrawBackground",
                        "UpdateNow", "_AddControl", "_AddMenuHandler", "Window", "Operator_Convert",
                        "__New", "_Move", "Maximize", "Minimize", "Restore", "_Update", "_CallMoved",
                        "_EnableMenuItems", "_CallActivated", "_CallDeactivated",
                        "_HandleMenuCommand", "_UnifiedClose", "_CallMouseDown", "_CallResized",
                        "_CallResizing", "_RemoveControl", "_MouseEnter", "_MouseExit", "_MouseMove",
                        "_Paint", "_MouseWheel", "_KeyDown", "__DependencyList", "Constructor",
                        "TrueWindow", "FocusNext", "FocusPrevious", "_ControlByName",
                        "_ControlByNameIndex"},
      .events = {"Layout", "CreateControls", "AddMenuHandlers", "SetupBindings", "Open", "Close",
                 "CancelClose", "KeyDown", "KeyUp", "MouseMove", "MouseEnter", "MouseExit",
                 "Paint", "MouseDown", "MouseDrag", "MouseUp", "EnableMenuItems", "Resized",
                 "Resizing", "Moved", "DropObject", "Activate", "Deactivate", "Minimize",
                 "Maximize", "Restore", "MouseWheel", "ConstructContextualMenu",
                 "ContextualMenuAction", "DragEnter", "DragExit", "DragOver", "ContentsChanged"},
  });
  return record;
}

Window::Window() : widgets_(std::make_unique<WindowWidgets>()) {}

Window::~Window() {
  if (widgets_->top) {
    widgets_->top->Detach();
    widgets_->top->deleteLater();
  }
}

const PropertyDeclarations& Window::Declarations() const {
  static const PropertyDeclarations declarations = {
      KeptProperty("Placement", PropertyType::Integer),
      IntegerProperty<Window>("Width", &Window::Width),
      IntegerProperty<Window>("Height", &Window::Height),
      KeptProperty("MinWidth", PropertyType::Integer),
      KeptProperty("MinHeight", PropertyType::Integer),
      KeptProperty("MaxWidth", PropertyType::Integer),
      KeptProperty("MaxHeight", PropertyType::Integer),
      KeptProperty("Frame", PropertyType::Integer),
      KeptProperty("Composite", PropertyType::Boolean),
      BooleanProperty<Window>("HasBackColor", &Window::HasBackColor),
      ColorProperty<Window>("BackColor", &Window::BackColor),
      StringProperty<Window>("Title", &Window::Title),
      BooleanProperty<Window>("Visible", &Window::Visible),
      BooleanProperty<Window>("FullScreen", &Window::FullScreen),
      BooleanProperty<Window>("MenuBarVisible", &Window::MenuBarVisible),
      BooleanProperty<Window>("CloseButton", &Window::CloseButton),
      BooleanProperty<Window>("Resizeable", &Window::Resizeable),
      KeptProperty("LiveResize", PropertyType::Boolean),
      BooleanProperty<Window>("MaximizeButton", &Window::MaximizeButton),
      BooleanProperty<Window>("MinimizeButton", &Window::MinimizeButton),
      KeptProperty("MacProcId", PropertyType::Integer),
  };
  return declarations;
}

void Window::Constructor() {
  auto* top = new WindowWidget(this);
  top->setAttribute(Qt::WA_DeleteOnClose, false);
  auto* layout = new QVBoxLayout(top);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* content = new QWidget(top);
  content->setObjectName("content");
  layout->addWidget(content);
  widgets_->top = top;
  widgets_->content = content;
  OpenWindows().insert(OpenWindows().begin(), std::static_pointer_cast<Window>(shared_from_this()));
  RuntimeTrace("WindowCreated " + ClassInfo()->name);

  Layout();
  UpdateApplicationShortcuts();
  ApplyWindowFlags();
  CreateControls();
  OrderFocusByTabIndex();
  for (const auto& control : std::vector<Ref<RectControl>>(controls_)) control->RaiseOpen();
  Event_Open();
  if (visible_) Show();
}

void Window::ApplyWindowFlags() {
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (closeButton_) flags |= Qt::WindowCloseButtonHint;
  if (minimizeButton_) flags |= Qt::WindowMinimizeButtonHint;
  if (maximizeButton_ && resizeable_) flags |= Qt::WindowMaximizeButtonHint;
  widgets_->top->setWindowFlags(flags);
  widgets_->top->layout()->setSizeConstraint(resizeable_ ? QLayout::SetDefaultConstraint
                                                         : QLayout::SetFixedSize);
}

void Window::OrderFocusByTabIndex() {
  std::vector<Ref<RectControl>> order;
  for (const auto& c : controls_)
    if (c->TabStop() && c->Widget() && c->Widget()->focusPolicy() != Qt::NoFocus) order.push_back(c);
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return a->TabIndex() < b->TabIndex(); });
  for (size_t i = 1; i < order.size(); ++i)
    QWidget::setTabOrder(order[i - 1]->Widget(), order[i]->Widget());
}

void Window::Show() {
  if (!widgets_->top) return;
  if (fullScreen_) widgets_->top->showFullScreen();
  else widgets_->top->show();
  widgets_->top->raise();
  widgets_->top->activateWindow();
  BringToFront(this);
}

void Window::Close() {
  if (widgets_->top) widgets_->top->close();
}

bool Window::IsOpen() const {
  const auto& windows = OpenWindows();
  return std::any_of(windows.begin(), windows.end(),
                     [&](const Ref<Window>& w) { return w.get() == this; });
}

std::string Window::Title() const {
  return widgets_->top ? widgets_->top->windowTitle().toStdString() : std::string();
}

void Window::Title(const std::string& title) {
  if (widgets_->top) widgets_->top->setWindowTitle(QString::fromStdString(title));
}

// Places the content area's top-left corner on the screen; the top-level
// widget's geometry excludes the window frame.
void Window::PlaceContent() {
  WindowWidget* top = widgets_->top;
  if (!top) return;
  top->layout()->activate();
  QPoint inside = widgets_->content->pos();
  top->setGeometry(QRect(QPoint(left_ - inside.x(), top_ - inside.y()), top->size()));
  top->setAttribute(Qt::WA_Moved);  // also when the place equals the initial one
}


void Window::Left(int32_t value) {
  left_ = value;
  PlaceContent();
}

void Window::Top(int32_t value) {
  top_ = value;
  PlaceContent();
}

void Window::Width(int32_t value) {
  width_ = value;
  if (widgets_->content) widgets_->content->setFixedSize(width_, height_);
}

void Window::Height(int32_t value) {
  height_ = value;
  if (widgets_->content) widgets_->content->setFixedSize(width_, height_);
}

void Window::BackColor(int32_t rgb) {
  if (!widgets_->content) return;
  QPalette palette = widgets_->content->palette();
  palette.setColor(QPalette::Window, QColor::fromRgb(static_cast<QRgb>(rgb)));
  widgets_->content->setPalette(palette);
}

void Window::HasBackColor(bool value) {
  if (widgets_->content) widgets_->content->setAutoFillBackground(value);
}

void Window::MenuBar(const Ref<::MenuBar>& bar) {
  menuBar_ = bar;
  if (!widgets_->top) return;
  delete widgets_->menuBar.data();
  widgets_->menuBar = bar ? BuildPlatformMenuBar(bar, widgets_->top) : nullptr;
  widgets_->top->layout()->setMenuBar(widgets_->menuBar);
  MenuBarVisible(menuBarVisible_);
  UpdateApplicationShortcuts();
}

void Window::MenuBarVisible(bool value) {
  menuBarVisible_ = value;
  if (widgets_->menuBar) widgets_->menuBar->setVisible(value);
}

// The application's menu bar serves every window that has none of its own, as
// on a platform with one menu bar for the whole application: its shortcuts
// work there ("Open..." stays disabled unless the window enables it).
void Window::UpdateApplicationShortcuts() {
  delete widgets_->applicationShortcuts.data();
  widgets_->applicationShortcuts = nullptr;
  Ref<Application> app = RuntimeApplication();
  if (menuBar_ || !widgets_->top || !app || !app->MenuBar()) return;
  widgets_->applicationShortcuts = AddApplicationShortcuts(app->MenuBar(), widgets_->top);
}

void Window::MouseCursor(const Ref<::MouseCursor>& cursor) {
  cursor_ = cursor;
  RuntimeTrace("MouseCursor " + (cursor ? cursor->Name() : std::string("Nil")));
  if (!widgets_->top) return;
  bool wait = cursor && cursor->Name() == "Wait";
  widgets_->top->setCursor(wait ? Qt::WaitCursor : Qt::ArrowCursor);
  QGuiApplication::sync();
}

void Window::AttachControl(const Ref<RectControl>& control) {
  control->PlaceOn(*this);
  control->Constructor();
  controls_.push_back(control);
}

void Window::AddControl_(const std::string& name, const Ref<RectControl>& control) {
  named_.emplace_back(name, control);
}

Ref<RectControl> Window::ControlByName_(const std::string& name) const {
  for (const auto& [n, c] : named_)
    if (n == name) return c;
  return nullptr;
}

Ref<Window> GetImplicitWindow_(const std::string& className) {
  for (const auto& w : OpenWindows())
    if (w->ClassInfo()->name == className) return w;
  return nullptr;
}

std::vector<Ref<Window>> RuntimeOpenWindows() { return OpenWindows(); }

Ref<Window> RuntimeFrontmostWindow() {
  const auto& windows = OpenWindows();
  return windows.empty() ? nullptr : windows.front();
}

void RuntimeCloseAllWindows() {
  for (const auto& w : std::vector<Ref<Window>>(OpenWindows())) w->Close();
  OpenWindows().clear();
}
