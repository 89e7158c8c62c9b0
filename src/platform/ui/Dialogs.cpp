#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "platform/files/FolderItem.h"
#include "platform/runtime/TestHooks.h"
#include "platform/ui/Dispatch.h"

namespace {
QWidget* DialogParent() { return QApplication::activeWindow(); }

class QtDialogs : public DialogInterface {
 public:
  std::optional<std::string> OpenFile(const std::string& filter) override {
    QString path = QFileDialog::getOpenFileName(DialogParent(), QString(), QString(),
                                                QString::fromStdString(filter));
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
  }

  std::optional<std::string> ChooseFolder() override {
    QString path = QFileDialog::getExistingDirectory(DialogParent());
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
  }

  void Message(const std::string& text) override {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(),
                    QString::fromStdString(text), QMessageBox::Ok, DialogParent());
    box.exec();
  }
};

// Shows a dialog: input takes its usual course while it is open.
template <class Show>
auto Modal(Show show) {
  RuntimeModalScope modal;
  return show();
}

std::unique_ptr<DialogInterface>& Current() {
  static std::unique_ptr<DialogInterface> dialogs = std::make_unique<QtDialogs>();
  return dialogs;
}
}  // namespace

std::unique_ptr<DialogInterface> SetDialogInterface(std::unique_ptr<DialogInterface> dialogs) {
  if (!dialogs) dialogs = std::make_unique<QtDialogs>();
  return std::exchange(Current(), std::move(dialogs));
}

void MsgBox(const std::string& text) {
  RuntimeTrace("MsgBox " + text);
  Modal([&] { Current()->Message(text); });
}

Ref<FolderItem> GetOpenFolderItem(const std::string& filter) {
  auto path = Modal([&] { return Current()->OpenFile(filter); });
  return path ? std::make_shared<FolderItem>(*path) : nullptr;
}

// The folder is opened once, as it is chosen: the items made in it follow it
// if it is moved or renamed afterwards.
Ref<FolderItem> SelectFolder() {
  auto path = Modal([&] { return Current()->ChooseFolder(); });
  return path ? FolderItem::HeldOpen_(*path) : nullptr;
}
