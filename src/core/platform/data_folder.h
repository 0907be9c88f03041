#pragma once

#include <functional>
#include <string>

namespace qv70 {

// Where the files the program writes (Config.ini, Comment.inl, DAT/) live. The
// program keeps them beside its executable; an install under a system prefix
// cannot be written there, so they move to the user's configuration folder.
enum class DataPlace {
  Program,     // beside the executable
  UserConfig,  // the program folder cannot be written: <config home>/qv70
  Nowhere,     // neither can be written: read beside the executable, nothing kept
};

struct DataFolder {
  std::string path;  // where the files are read and written
  DataPlace place = DataPlace::Program;
  // The per-user folder the rule named (UserConfig, Nowhere); empty when
  // there is no home to put it in.
  std::string userFolder;
};

// The program folder when `canWriteIn` it; else "qv70" in `xdgConfigHome`, or
// in `home`/.config when that is empty or relative (a relative one is invalid),
// when `canWriteIn` that; else the program folder as Nowhere. The program's
// `canWriteIn` is MakeWritableFolder, so the per-user folder is made on the way.
DataFolder ChooseDataFolder(const std::string& programDirectory, const std::string& xdgConfigHome,
                            const std::string& home,
                            const std::function<bool(const std::string&)>& canWriteIn);

// ChooseDataFolder for this process: XDG_CONFIG_HOME, the user's home and
// MakeWritableFolder.
DataFolder ChooseDataFolderForThisUser(const std::string& programDirectory);

// Whether this process may make files in the folder `path`. A folder without
// any write permission bit counts as read-only even for root, as the saves
// refuse it.
bool CanWriteInFolder(const std::string& path);

// Makes `path` and its missing parents (mode 0700), then CanWriteInFolder.
bool MakeWritableFolder(const std::string& path);

// $HOME when it is absolute, else this user's home in the password database;
// empty when neither names one.
std::string UserHomeDirectory();

}  // namespace qv70
