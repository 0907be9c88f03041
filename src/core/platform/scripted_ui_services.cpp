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

bool ScriptedUiServices::AskFileName(const FileDialogRequest& request,
                                     std::deque<std::string>& names, std::string& path) {
  startPaths.push_back(folder_.StartPath(request.initialName));
  if (names.empty()) return false;
  std::string name = names.front();
  names.pop_front();
  if (name.empty()) return false;
  path = name;
  folder_.Remember(path);
  return true;
}

bool ScriptedUiServices::AskOpenFileName(const FileDialogRequest& request, std::string& path) {
  openRequests.push_back(request);
  return AskFileName(request, openNames, path);
}

bool ScriptedUiServices::AskSaveFileName(const FileDialogRequest& request, std::string& path) {
  saveRequests.push_back(request);
  return AskFileName(request, saveNames, path);
}

}  // namespace qv70
