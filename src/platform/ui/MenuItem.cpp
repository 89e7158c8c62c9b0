#include "platform/ui/MenuItem.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include "platform/ui/Application.h"
#include "platform/ui/Dispatch.h"
#include "platform/ui/Window.h"
#include "platform/ui/WindowWidgets.h"

namespace {
const std::vector<std::string>& MenuItemOperations() {
  static const std::vector<std::string> operations = {
      "Enable", "Close", "Item", "Count", "Child", "Append", "Insert", "Remove(index)",
      "Remove(item)", "Remove(name)", "_Lookup(name)", "_Lookup(name, index)", "MenuItem",
      "Constructor(text, tag)", "PopUp", "PopUp(x, y)", "_Swap", "_DisableEntirely", "_SelfEnable",
      "MenuItem(text, tag)", "Constructor", "_InstallClone", "__DependencyList"};
  return operations;
}
}  // namespace

const ClassRecord* MenuItem::Lookup_() {
  static const ClassRecord* record = RuntimeRegisterClass({
      .name = "MenuItem",
      .superclass = &Object::Lookup_,
      .ownOperations = MenuItemOperations(),
      .events = {"Action", "EnableMenu"},
  });
  return record;
}

const ClassRecord* MenuBar::Lookup_() {
  static const ClassRecord* record =
      RuntimeRegisterClass({.name = "MenuBar", .superclass = &MenuItem::Lookup_});
  return record;
}

const ClassRecord* AppleMenuItem::Lookup_() {
  static const ClassRecord* record =
      RuntimeRegisterClass({.name = "AppleMenuItem", .superclass = &MenuItem::Lookup_});
  return record;
}

const ClassRecord* QuitMenuItem::Lookup_() {
  static const ClassRecord* record = RuntimeRegisterClass(
      {.name = "QuitMenuItem", .superclass = &MenuItem::Lookup_, .handledEvents = {"Action"}});
  return record;
}

void MenuItem::Text(const std::string& v) { text_ = v; Changed(); }
void MenuItem::KeyboardShortcut(const std::string& v) { shortcut_ = v; Changed(); }
void MenuItem::Enabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  Changed();
}

void MenuItem::Append(const Ref<MenuItem>& item) {
  children_.push_back(NotNil(item));
  Changed();
}

Ref<MenuItem> MenuItem::Item(int32_t index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return children_[static_cast<size_t>(index)];
}

Ref<MenuItem> MenuItem::Child(const std::string& name) const {
  for (const auto& child : children_)
    if (child->Name() == name) return child;
  return nullptr;
}

Ref<MenuItem> MenuItem::LookupByName_(const std::string& name) const {
  for (const auto& child : children_) {
    if (child->Name() == name) return child;
    if (auto found = child->LookupByName_(name)) return found;
  }
  return nullptr;
}

void MenuItem::Changed() {
  std::erase_if(listeners_, [](const std::function<bool()>& listener) { return !listener(); });
}

bool QuitMenuItem::Event_Action() {
  return QuitMenuAction(std::static_pointer_cast<MenuItem>(shared_from_this()));
}

bool QuitMenuAction(const Ref<MenuItem>&) {
  Quit(0);
  return true;
}

namespace {
void ResetEnabled(const Ref<MenuItem>& item) {
  for (int32_t i = 0; i < item->Count(); ++i) {
    Ref<MenuItem> child = item->Item(i);
    child->Enabled(child->AutoEnable());
    ResetEnabled(child);
  }
}

// "Cmd+O" is Ctrl+O here (Command+O on macOS, where Qt maps Ctrl to Command).
QKeySequence ShortcutOf(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace("Cmd+", "Ctrl+");
  return QKeySequence(s);
}

// The platform action of a menu item. Its text and state follow the item;
// choosing it (or pressing its shortcut) runs the menu-enabling pass, then the
// item's Action if the item is enabled.
QAction* NewItemAction(const Ref<MenuItem>& item, QObject* parent) {
  auto* action = new QAction(QString::fromStdString(item->Text()), parent);
  action->setObjectName(QString::fromStdString(item->Name()));
  action->setShortcut(ShortcutOf(item->KeyboardShortcut()));
  action->setShortcutContext(Qt::WindowShortcut);
  std::weak_ptr<MenuItem> weak = item;
  // Keeps the platform action in step with the item while both exist.
  auto sync = [action = QPointer<QAction>(action), weak] {
    Ref<MenuItem> it = weak.lock();
    if (!it || !action) return false;
    action->setText(QString::fromStdString(it->Text()));
    action->setEnabled(it->Enabled());
    return true;
  };
  sync();
  item->OnChange(sync);
  QObject::connect(action, &QAction::triggered, action, [weak] {
    RuntimeDispatch([&] {
      Ref<MenuItem> it = weak.lock();
      RuntimeEnableMenuItems();
      if (it && it->Enabled()) it->Event_Action();
    });
  });
  return action;
}

void BuildMenu(QMenu* menu, const Ref<MenuItem>& model) {
  for (int32_t i = 0; i < model->Count(); ++i) {
    Ref<MenuItem> item = model->Item(i);
    if (item->Count() > 0) {
      BuildMenu(menu->addMenu(QString::fromStdString(item->Text())), item);
      continue;
    }
    menu->addAction(NewItemAction(item, menu));
  }
  QObject::connect(menu, &QMenu::aboutToShow, menu, [] { RuntimeDispatch(RuntimeEnableMenuItems); });
}

void AddShortcutActions(const Ref<MenuItem>& model, QObject* holder, QWidget* window) {
  for (int32_t i = 0; i < model->Count(); ++i) {
    Ref<MenuItem> item = model->Item(i);
    if (item->Count() > 0) AddShortcutActions(item, holder, window);
    else if (!item->KeyboardShortcut().empty()) window->addAction(NewItemAction(item, holder));
  }
}
}  // namespace

QObject* AddApplicationShortcuts(const Ref<MenuBar>& bar, QWidget* window) {
  auto* holder = new QObject(window);
  holder->setObjectName("ApplicationShortcuts");
  AddShortcutActions(bar, holder, window);
  return holder;
}

QMenuBar* BuildPlatformMenuBar(const Ref<MenuBar>& bar, QWidget* parent) {
  auto* qbar = new QMenuBar(parent);
  for (int32_t i = 0; i < bar->Count(); ++i) {
    Ref<MenuItem> top = bar->Item(i);
    BuildMenu(qbar->addMenu(QString::fromStdString(top->Text())), top);
  }
  return qbar;
}

void RuntimeEnableMenuItems() {
  Ref<Window> front = RuntimeFrontmostWindow();
  Ref<::MenuBar> bar = front && front->MenuBar() ? front->MenuBar()
                       : RuntimeApplication()     ? RuntimeApplication()->MenuBar()
                                                  : nullptr;
  if (!bar) return;
  ResetEnabled(bar);
  if (front) front->Event_EnableMenuItems();
}
