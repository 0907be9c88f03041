// Where the file dialogs start: the folder last chosen in this run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/platform/dialog_folder.h"

namespace qv70 {
namespace {

TEST(DialogFolder, StartsInTheFolderOfTheLastChoice) {
  const struct {
    const char* name;
    std::vector<std::string> chosen;  // paths picked before, in order
    std::string initialName;
    std::string start;
  } rows[] = {
      {"nothing chosen yet, a name", {}, "data.csv", "data.csv"},
      {"after a choice, a bare name", {"/home/op/runs/a.csv"}, "b.csv", "/home/op/runs/b.csv"},
      {"a name with its own folder", {"/home/op/runs/a.csv"}, "/srv/x.csv", "/srv/x.csv"},
      {"a file at the root", {"/top.csv"}, "b.csv", "/b.csv"},
      {"the root itself", {"/top.csv"}, "", "/"},
      {"a bare name tells nothing", {"/a/one.csv", "two.csv"}, "", "/a"},
  };
  for (const auto& row : rows) {
    DialogFolder folder;
    for (const std::string& path : row.chosen) folder.Remember(path);
    EXPECT_EQ(folder.StartPath(row.initialName), row.start) << row.name;
  }
}

}  // namespace
}  // namespace qv70
