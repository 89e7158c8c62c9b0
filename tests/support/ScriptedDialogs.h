#pragma once
// Dialogs that answer from a script and record every message.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Dialogs.h"

struct DialogScript {
  std::deque<std::optional<std::string>> files;    // answers of the open-file dialog
  std::deque<std::optional<std::string>> folders;  // answers of the folder dialog
  std::vector<std::string> messages;               // every message shown
  std::vector<std::string> fileFilters;            // the filter of each open-file dialog
  int folderDialogs = 0;
  std::function<void()> onOpenFile;                // runs as the open-file dialog shows
};

class ScriptedDialogs : public DialogInterface {
 public:
  explicit ScriptedDialogs(DialogScript& script) : script_(script) {}
  std::optional<std::string> OpenFile(const std::string& filter) override;
  std::optional<std::string> ChooseFolder() override;
  void Message(const std::string& text) override;

 private:
  DialogScript& script_;
};
