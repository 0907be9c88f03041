#pragma once

#include <functional>

namespace qv70 {

struct ProgramState;
class UiServices;

// The Save command: save-file dialog, the ".csv" rule, the replace prompt, then
// WriteDataFile with the program's number format. True when a file was written
// (DataState becomes Saved); false when the dialog was cancelled, replacing was
// refused or the file could not be written (the message box "... .The File is
// opened or read only!Can not be saved!" was shown and DataState is unchanged).
bool SaveDataFile(ProgramState& state, UiServices& ui);

// The Open command: the "Do you want to save data?" prompt when the data is
// unsaved, the open-file dialog, then ReadDataFile. Every refusal is shown in a
// message box captioned "File Open" and leaves the working data as it was. After
// a successful open `refreshView` runs (the main view rebuilds its pages; may be
// empty). True when a file was opened and installed.
bool OpenDataFile(ProgramState& state, UiServices& ui, const std::function<void()>& refreshView);

}  // namespace qv70
