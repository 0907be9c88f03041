#include "monkey_ui.h"

#include "monkey_random.h"
#include "monkey_world.h"
#include "step_log.h"

namespace qv70::monkey {

namespace {

constexpr int kRealDialogPercent = 25;

const char* AnswerName(MessageAnswer answer) {
  switch (answer) {
    case MessageAnswer::Ok: return "OK";
    case MessageAnswer::Yes: return "Yes";
    case MessageAnswer::No: return "No";
    case MessageAnswer::Cancel: return "Cancel";
  }
  return "?";
}

std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

}  // namespace

MessageAnswer MonkeyUiServices::ShowMessage(const std::string& text, const std::string& caption,
                                            MessageButtons buttons, MessageIcon icon) {
  ++questions_;
  MessageAnswer answer = MessageAnswer::Ok;
  if (closing_) {
    answer = buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
  } else if (random_.Chance(kRealDialogPercent)) {
    step_log::Note("message box shown: [" + caption + "] " + OneLine(text));
    answer = real_.ShowMessage(text, caption, buttons, icon);
  } else {
    switch (buttons) {
      case MessageButtons::Ok: answer = MessageAnswer::Ok; break;
      case MessageButtons::YesNo: answer = random_.Chance(50) ? MessageAnswer::Yes : MessageAnswer::No; break;
      case MessageButtons::YesNoCancel: {
        const MessageAnswer answers[] = {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Cancel};
        answer = answers[random_.Below(3)];
        break;
      }
    }
  }
  step_log::Note("message [" + caption + "] " + OneLine(text) + " -> " + AnswerName(answer));
  return answer;
}

bool MonkeyUiServices::AskOpenFileName(const FileDialogRequest& request, std::string& path) {
  return AskFileName(request, false, path);
}

bool MonkeyUiServices::AskSaveFileName(const FileDialogRequest& request, std::string& path) {
  return AskFileName(request, true, path);
}

bool MonkeyUiServices::AskFileName(const FileDialogRequest& request, bool save, std::string& path) {
  ++questions_;
  const char* kind = save ? "save" : "open";
  if (closing_) {
    step_log::Note(std::string(kind) + " dialog " + request.filterPattern + " -> cancelled");
    return false;
  }
  if (random_.Chance(kRealDialogPercent / 2)) {
    step_log::Note(std::string(kind) + " dialog " + request.filterPattern + " shown");
    pending_.push_back({request, save});
    const bool chosen = save ? real_.AskSaveFileName(request, path) : real_.AskOpenFileName(request, path);
    pending_.pop_back();
    step_log::Note(std::string(kind) + " dialog -> " + (chosen ? path : "cancelled"));
    return chosen;
  }
  if (random_.Chance(10)) {
    step_log::Note(std::string(kind) + " dialog " + request.filterPattern + " -> cancelled");
    return false;
  }
  path = save ? world_.SavePath(request, random_) : world_.OpenPath(request, random_);
  step_log::Note(std::string(kind) + " dialog " + request.filterPattern + " -> " + path);
  return true;
}

}  // namespace qv70::monkey
