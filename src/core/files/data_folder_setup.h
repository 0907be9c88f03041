#pragma once

#include <string>

#include "core/platform/data_folder.h"
#include "core/platform/ui_services.h"

namespace qv70 {

// The note left in a per-user data folder: what it holds and why. Its presence
// also records that the operator has been told.
inline constexpr const char* kDataFolderNoteName = "README.txt";
inline constexpr const char* kDataFolderCaption = "Data folder";

// Makes the data folder ready before anything reads a setting, and returns
// what the operator is to be told about it (to be shown once the window is up):
// - Program: nothing is done or said.
// - UserConfig: DAT/ is made; Config.ini and Comment.inl found only beside
//   the program are copied in, so whatever was set there carries over. The
//   first time (no note yet) it says where the files are and leaves the note;
//   a copy that failed is said too, and then the note is not left, so it is
//   said again at the next start.
// - Nowhere: a warning at every start that nothing set will be kept.
OperatorMessage PrepareDataFolder(const std::string& programDirectory, const DataFolder& data);

}  // namespace qv70
