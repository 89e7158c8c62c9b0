#pragma once
// Modal dialogs, all through one interface: the production form shows Qt's
// dialogs, tests put in a scripted one.
#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/Object.h"

class FolderItem;

class DialogInterface {
 public:
  virtual ~DialogInterface() = default;
  // The chosen file's path, or nullopt when cancelled.
  virtual std::optional<std::string> OpenFile(const std::string& filter) = 0;
  virtual std::optional<std::string> ChooseFolder() = 0;
  virtual void Message(const std::string& text) = 0;
};

// Puts in another form (nullptr restores Qt's); returns the previous one.
std::unique_ptr<DialogInterface> SetDialogInterface(std::unique_ptr<DialogInterface> dialogs);

// A modal message with that text; returns when dismissed.
void MsgBox(const std::string& text);
// The open-file dialog; Nil when cancelled. An empty filter shows every file.
Ref<FolderItem> GetOpenFolderItem(const std::string& filter);
// The folder dialog; Nil when cancelled. The folder is held open: the items
// made in it (Child) stay inside it wherever it is moved.
Ref<FolderItem> SelectFolder();
