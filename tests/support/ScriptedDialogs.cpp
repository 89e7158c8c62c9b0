#include "ScriptedDialogs.h"

namespace {
std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers) {
  if (answers.empty()) return std::nullopt;
  auto answer = answers.front();
  answers.pop_front();
  return answer;
}
}  // namespace

std::optional<std::string> ScriptedDialogs::OpenFile(const std::string& filter) {
  script_.fileFilters.push_back(filter);
  if (script_.onOpenFile) script_.onOpenFile();
  return Next(script_.files);
}

std::optional<std::string> ScriptedDialogs::ChooseFolder() {
  ++script_.folderDialogs;
  return Next(script_.folders);
}

void ScriptedDialogs::Message(const std::string& text) { script_.messages.push_back(text); }
