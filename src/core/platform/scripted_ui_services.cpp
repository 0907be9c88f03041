#include "core/platform/scripted_ui_services.h"

namespace qv70 {

MessageAnswer ScriptedUiServices::ShowMessage(const std::string& text, const std::string& caption,
                                              MessageButtons buttons, MessageIcon icon) {
  messages.push_back({text, caption, buttons, icon});
  if (!answers.empty()) {
    MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
}

static bool TakeName(std::deque<std::string>& names, std::string& path) {
  if (names.empty()) return false;
  std::string name = names.front();
  names.pop_front();
  if (name.empty()) return false;
  path = name;
  return true;
}

bool ScriptedUiServices::AskOpenFileName(const FileDialogRequest& request, std::string& path) {
  openRequests.push_back(request);
  return TakeName(openNames, path);
}

bool ScriptedUiServices::AskSaveFileName(const FileDialogRequest& request, std::string& path) {
  saveRequests.push_back(request);
  return TakeName(saveNames, path);
}

}  // namespace qv70
