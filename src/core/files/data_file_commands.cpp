#include "core/files/data_file_commands.h"

#include <string>

#include "core/data/program_state.h"
#include "core/files/data_file.h"
#include "core/files/messages.h"
#include "core/platform/environment.h"
#include "core/platform/ui_services.h"

namespace qv70 {

namespace {

FileDialogRequest DataFileDialog() {
  FileDialogRequest request;
  request.filterDescription = "*.csv";
  request.filterPattern = "*.csv";
  return request;
}

}  // namespace

bool SaveDataFile(ProgramState& state, UiServices& ui) {
  std::string path;
  if (!ui.AskSaveFileName(DataFileDialog(), path)) return false;
  // Letter case matters: "DATA.CSV" still gets ".csv" appended.
  if (path.find(".csv") == std::string::npos) path += ".csv";

  if (FileExists(path) && ui.ShowMessage(save_message::kReplaceQuestion, save_message::kReplaceCaption,
                                         MessageButtons::YesNo, MessageIcon::Question) != MessageAnswer::Yes)
    return false;

  // The old file is replaced only once the new one is completely written.
  Result outcome = WriteDataFile(path, state.tables, state.numberFormat);
  if (!outcome.ok) {
    ui.ShowMessage(outcome.message, kSaveCaption, MessageButtons::Ok, MessageIcon::None);
    return false;
  }
  state.tables.dataState = DataState::Saved;
  return true;
}

bool OpenDataFile(ProgramState& state, UiServices& ui, const std::function<void()>& refreshView) {
  if (state.tables.dataState == DataState::Unsaved) {
    MessageAnswer answer = ui.ShowMessage(save_message::kSaveDataQuestion, save_message::kSaveDataCaption,
                                          MessageButtons::YesNoCancel, MessageIcon::Question);
    if (answer == MessageAnswer::Cancel) return false;
    if (answer == MessageAnswer::Yes && !SaveDataFile(state, ui)) return false;
  }

  std::string path;
  if (!ui.AskOpenFileName(DataFileDialog(), path)) return false;

  Result outcome = ReadDataFile(path, state.tables);
  if (!outcome.ok) {
    ui.ShowMessage(outcome.message, kOpenCaption, MessageButtons::Ok, MessageIcon::None);
    return false;
  }
  if (refreshView) refreshView();
  return true;
}

}  // namespace qv70
