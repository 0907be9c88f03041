// Where the file dialogs start: the folder last chosen in this run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/platform/dialog_folder.h"
#include "core/platform/scripted_ui_services.h"

namespace qv70 {
namespace {

TEST(DialogFolder, StartsInTheFolderOfTheLastChoice) {
  const struct {
    const char* name;
    std::vector<std::string> chosen;  // paths picked before, in order
    std::string initialName;
    std::string start;
  } rows[] = {
      {"nothing chosen yet, no name", {}, "", ""},
      {"nothing chosen yet, a name", {}, "data.csv", "data.csv"},
      {"after a choice, no name", {"/home/op/runs/a.csv"}, "", "/home/op/runs"},
      {"after a choice, a bare name", {"/home/op/runs/a.csv"}, "b.csv", "/home/op/runs/b.csv"},
      {"a name with its own folder", {"/home/op/runs/a.csv"}, "/srv/x.csv", "/srv/x.csv"},
      {"a relative name with a folder", {"/home/op/runs/a.csv"}, "sub/x.csv", "sub/x.csv"},
      {"the last of several", {"/a/one.csv", "/b/c/two.csv"}, "", "/b/c"},
      {"a file at the root", {"/top.csv"}, "b.csv", "/b.csv"},
      {"the root itself", {"/top.csv"}, "", "/"},
      {"a bare name tells nothing", {"/a/one.csv", "two.csv"}, "", "/a"},
      {"a folder with blanks", {"/home/op/my runs/a b.csv"}, "", "/home/op/my runs"},
  };
  for (const auto& row : rows) {
    DialogFolder folder;
    for (const std::string& path : row.chosen) folder.Remember(path);
    EXPECT_EQ(folder.StartPath(row.initialName), row.start) << row.name;
  }
}

TEST(DialogFolder, ScriptedDialogsStartWhereTheWindowsWould) {
  ScriptedUiServices ui;
  ui.openNames = {"/data/run1/a.csv", ""};
  ui.saveNames = {"/data/run2/b.csv"};
  FileDialogRequest request{"", "*.csv", "*.csv", ""};
  std::string path;
  EXPECT_TRUE(ui.AskOpenFileName(request, path));
  EXPECT_TRUE(ui.AskSaveFileName(request, path));
  EXPECT_FALSE(ui.AskOpenFileName(request, path));  // cancelled: the folder stays
  EXPECT_FALSE(ui.AskSaveFileName(request, path));  // no name queued: cancelled
  EXPECT_EQ(ui.startPaths, (std::vector<std::string>{"", "/data/run1", "/data/run2", "/data/run2"}));
  EXPECT_EQ(path, "/data/run2/b.csv");
}

}  // namespace
}  // namespace qv70
