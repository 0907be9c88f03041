#include <gtest/gtest.h>
#include <sys/wait.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "core/files/messages.h"
#include "cli/cli_run.h"
#include "support/data_file_test_support.h"
#include "support/picture_files.h"

#ifdef QV70_CLI_GRAPH
#include <QBuffer>
#include <QImage>
#endif

namespace qv70 {
namespace {

using test::ExamplePath;
using test::CliRun;
using test::ReadWholeFile;
using test::RunCli;

std::vector<std::string> Lines(const std::string& text) { return test::SplitLines(text); }

bool HasLine(const std::string& text, const std::string& line) {
  for (const auto& l : Lines(text))
    if (l == line) return true;
  return false;
}

std::string Tabbed(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) line += (i ? "\t" : "") + fields[i];
  return line;
}

// A record line of the dump: the label, then 34 fields (those not given are empty).
std::string RecordLine(const std::string& label, std::vector<std::string> fields) {
  fields.resize(34);
  fields.insert(fields.begin(), {"record", label});
  return Tabbed(fields);
}

struct DumpCase {
  const char* name;
  std::vector<std::string> args;
  std::vector<std::string> lines;  // each must be one line of the output
};

TEST(Qv70Cli, DumpShowsTheOpenedTables) {
  const std::string current = ExamplePath("current_comma_period.csv");
  const std::string older = ExamplePath("older_layout.csv");
  const std::vector<DumpCase> cases = {
      {"counts_and_texts", {"dump", current},
       {"counts\t3\t0\t0\t0\t0\t0\t0\t0\t0\t2\t4\t0\t0\t2\t0\t0\t0\t0\t0\t0", "idn\tZAVEL QV70 Ver1.10,0,0",
        "serial\t09120345", "pi\t1\t10", "step\t1\t[min]"}},
      {"converted_by_default", {"dump", current},
       {RecordLine("A0", {"A0", "Normal Test", "2009-12-01", "10:15:00", "10min0s", "23.5", "45.0", "1.00", "1.00",
                          "5.00", "1.20", "2.30", "3.40", "2.83", "1.48", "1", "3.40", "10", "9.80", "2.88"}),
        RecordLine("A9", {}),
        "header\tL0\tL0\tLogging\t2009-12-31\t23:59:30\t60\t23.5\t45.0\t1000",
        "sample\tL0\t1\t2010-01-01\t00:00:30\t1min0s\t1.00\t5.23",
        "sample\tL0\t2\t2010-01-01\t00:01:30\t2min0s\t1.00\tOF",
        "header\tL3\tL3\tLogging\t2010-02-10\t08:00:00\t30\t\t38.5\t500",
        "sample\tL3\t2\t2010-02-10\t08:01:00\t1min0s\t0.501\t0.990"}},
      {"raw_copy", {"dump", current, "--copy", "raw"},
       {RecordLine("A1", {"A1", "TC Test", "2009-12-01", "11:00:00", "60", "22.0", "50.0", "500", "501",
                          "2500000000", "", "", "", "", "", "", "", "", "", "", "40.0", "625000000", "1"}),
        RecordLine("P1", {"P1", "Normal Test", "2009-12-02", "09:05:00", "90", "19.9", "E", "250", "248", "123456",
                          "UF", "123000", "123456", "1", "1", "1", "125000", "10", "130000", "1.04"}),
        "header\tL3\tL3\tLogging\t2010-02-10\t08:00:00\t30\tE\t38.5\t500",
        "sample\tL0\t2\t2010-01-01\t00:01:30\t2min0s\t1001\tOF"}},
      {"display_copy_comma", {"dump", "--decimal", "comma", current, "--copy", "display"},
       {"header\tL0\tL0\tLogging\t2009-12-31\t23:59:30\t60\t23,5\t45,0\t1000",
        "sample\tL3\t1\t2010-02-10\t08:00:30\t30s\t0,502\t0,987",
        RecordLine("P1", {"P1", "Normal Test", "2009-12-02", "09:05:00", "1min30s", "19,9", "", "0,250", "0,248",
                          "0,000123", "UF", "0,000123", "0,000123", "1,00", "1,00", "1", "0,000125", "10",
                          "0,000130", "1,04"})}},
      {"display_copy_period", {"dump", current, "--copy", "display", "--decimal", "period"},
       {"sample\tL3\t1\t2010-02-10\t08:00:30\t30s\t0.502\t0.987"}},
      {"older_layout", {"dump", older},
       {"counts\t3\t0\t0\t0\t0\t0\t0\t0\t0\t0\t2\t0\t0\t0\t0\t0\t0\t0\t0\t0", "idn\tZAVEL QV70 Ver1.1000",
        "step\t30\t[s]", "sample\tL0\t2\t2010-01-01\t00:01:30\t2min0s\t1.00\tOF",
        RecordLine("A2", {"A2", "Step Voltage Test", "2009-12-01", "11:30:00", "", "23.5", "45.0", "5.00", "", "",
                          "", "", "", "", "", "", "", "", "", "", "", "", "", "1min0s", "1.00", "4.00", "2.00",
                          "3.90", "3.00", "3.80", "4.00", "3.70", "5.00", "3.60"})}},
  };
  for (const auto& c : cases) {
    CliRun run = RunCli(c.args);
    EXPECT_EQ(run.status, 0) << c.name << ": " << run.err;
    EXPECT_EQ(run.err, "") << c.name;
    for (const auto& line : c.lines) EXPECT_TRUE(HasLine(run.out, line)) << c.name << ": missing\n" << line;
  }
}

TEST(Qv70Cli, DumpListsItemsInOrderAndNothingElse) {
  CliRun run = RunCli({"dump", ExamplePath("current_comma_period.csv")});
  ASSERT_EQ(run.status, 0);
  std::vector<std::string> keys;
  for (const auto& line : Lines(run.out)) keys.push_back(line.substr(0, line.find('\t')));
  // 5 info lines, 2 groups x 10 records, 2 headers, 4 + 2 samples.
  ASSERT_EQ(keys.size(), 5u + 20u + 2u + 6u);
  EXPECT_EQ(std::vector<std::string>(keys.begin(), keys.begin() + 5),
            (std::vector<std::string>{"counts", "idn", "serial", "pi", "step"}));
  EXPECT_EQ(keys[5], "record");
  EXPECT_EQ(keys[25], "header");
  EXPECT_EQ(keys[26], "sample");
  EXPECT_EQ(keys[30], "header");
  // Tabs per item: key, label (and sample number), then the fields.
  const std::vector<std::pair<std::string, long>> tabs = {{"record", 35}, {"header", 9}, {"sample", 7}};
  for (const auto& line : Lines(run.out)) {
    for (const auto& [key, count] : tabs) {
      if (line.rfind(key + "\t", 0) == 0) {
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), count) << line;
      }
    }
  }
}

TEST(Qv70Cli, TheSameDataReadsTheSameInEveryForm) {
  const std::string reference = RunCli({"dump", ExamplePath("current_comma_period.csv")}).out;
  for (const char* name : {"current_semicolon_period.csv", "current_semicolon_comma.csv"}) {
    std::string dump = RunCli({"dump", ExamplePath(name)}).out;
    // Only the identification keeps the file's own separators.
    const std::string idn = "idn\tZAVEL QV70 Ver1.10;0;0";
    ASSERT_NE(dump.find(idn), std::string::npos) << name;
    dump.replace(dump.find(idn), idn.size(), "idn\tZAVEL QV70 Ver1.10,0,0");
    EXPECT_EQ(dump, reference) << name;
  }
}

struct SaveCase {
  const char* name;
  std::vector<std::string> options;
  const char* expectedFile;
};

TEST(Qv70Cli, SaveWritesTheLayoutByteForByte) {
  const std::vector<SaveCase> cases = {
      {"default", {}, "current_comma_period.csv"},
      {"separator_comma", {"--separator", "comma"}, "current_comma_period.csv"},
      {"separator_semicolon", {"--separator", "semicolon"}, "current_semicolon_period.csv"},
      {"decimal_comma_implies_semicolon", {"--decimal", "comma"}, "current_semicolon_comma.csv"},
      {"decimal_comma_and_semicolon", {"--decimal", "comma", "--separator", "semicolon"},
       "current_semicolon_comma.csv"},
      {"decimal_period", {"--decimal", "period"}, "current_comma_period.csv"},
  };
  for (const char* input : {"current_comma_period.csv", "current_semicolon_comma.csv"}) {
    for (const auto& c : cases) {
      test::TempDir dir;
      const std::string out = dir.File("out.csv");
      test::WriteWholeFile(out, "an old file, replaced without asking");
      std::vector<std::string> args = {"save", ExamplePath(input), out};
      args.insert(args.end(), c.options.begin(), c.options.end());
      CliRun run = RunCli(args);
      EXPECT_EQ(run.status, 0) << c.name << ": " << run.err;
      EXPECT_EQ(ReadWholeFile(out), ReadWholeFile(ExamplePath(c.expectedFile))) << input << " " << c.name;
    }
  }
}

struct StatusCase {
  const char* name;
  std::vector<std::string> args;
  int status;
  std::string err;  // the whole of standard error, or its start for usage errors
};

TEST(Qv70Cli, ExitStatusAndMessages) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("cut.csv"), "ZAVEL.QV70EN V2.01 \r\n\r\n0 datanum\r\n0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n"
                                               "\r\n1 logging\r\n\r\n2 manual\r\n\r\n");
  const std::string good = ExamplePath("current_comma_period.csv");
  const std::string missing = dir.File("missing.csv");
  const std::vector<StatusCase> cases = {
      {"refused_file", {"dump", dir.File("cut.csv")}, 1, std::string(open_message::kLackTime) + "\n"},
      {"missing_file", {"dump", missing}, 1, open_message::FileNotFound(missing) + "\n"},
      {"save_refused_input",
       {"save", dir.File("cut.csv"), dir.File("o.csv")},
       1,
       std::string(open_message::kLackTime) + "\n"},
      {"save_into_missing_folder",
       {"save", good, dir.File("no/such/o.csv")},
       1,
       save_message::Failed(dir.File("no/such/o.csv")) + "\n"},
      {"no_command", {}, 2, "usage: qv70cli"},
      {"unknown_command", {"frobnicate"}, 2, "qv70cli: unknown command"},
      {"dump_without_file", {"dump"}, 2, "usage: qv70cli"},
      {"dump_two_files", {"dump", good, good}, 2, "usage: qv70cli"},
      {"dump_bad_copy", {"dump", good, "--copy", "loaded"}, 2, "usage: qv70cli"},
      {"dump_copy_without_value", {"dump", good, "--copy"}, 2, "usage: qv70cli"},
      {"dump_unknown_option", {"dump", good, "--fast"}, 2, "usage: qv70cli"},
      {"save_one_file", {"save", good}, 2, "usage: qv70cli"},
      {"save_comma_comma",
       {"save", good, dir.File("o.csv"), "--decimal", "comma", "--separator", "comma"},
       2,
       "qv70cli: --decimal comma cannot go with --separator comma"},
      {"save_option_twice",
       {"save", good, dir.File("o.csv"), "--decimal", "comma", "--decimal", "comma"},
       2,
       "usage: qv70cli"},
  };
  for (const auto& c : cases) {
    CliRun run = RunCli(c.args);
    EXPECT_EQ(run.status, c.status) << c.name;
    if (c.status == 0) continue;
    EXPECT_EQ(run.out, "") << c.name;
    if (c.status == 1) {
      EXPECT_EQ(run.err, c.err) << c.name;
    } else {
      EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << c.name << ": " << run.err;
      EXPECT_NE(run.err.find("dump FILE [--copy raw|converted|display] [--decimal period|comma]"),
                std::string::npos)
          << c.name;
    }
  }
  EXPECT_NE(access(dir.File("o.csv").c_str(), F_OK), 0);
}

struct PictureCase {
  std::vector<std::string> args;  // file names in the case's folder
  int status;
  std::string out;
  std::string err;         // the start of standard error, after the file's quoted path for status 1
  std::size_t outBmpSize;  // of out.bmp, 0 when none is written
};

#ifdef QV70_CLI_GRAPH
// A 10 x 6 JPEG as Qt writes it.
std::string JpegFile() {
  QImage image(10, 6, QImage::Format_RGB32);
  image.fill(qRgb(200, 40, 40));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPG");
  return bytes.toStdString();
}
// Built with the window layer, JPEG and GIF go through Qt's reader.
const char kCutJpegRefusal[] = ": the picture cannot be decoded";
#else
const char kCutJpegRefusal[] = ": JPEG and GIF pictures are decoded in the program only\n";
#endif

TEST(Qv70Cli, PictureLoadsAndWritesBmp) {
  const std::vector<std::pair<std::string, std::string>> files = {
      {"logo.bmp", test::BmpFile().Width(4).Height(3).Bytes()},
      {"565.BMP", test::BmpFile().Bits(16).BitFields({0xF800, 0x7E0, 0x1F}).Bytes()},
      {"logo.tga", test::TgaFile().Size(6, 1).Data(std::string(18, 'p')).Bytes()},
      {"logo.jpg", "\xFF\xD8\xFF"},
      {"cut.bmp", test::BmpFile().Bytes().substr(0, 60)},
#ifdef QV70_CLI_GRAPH
      {"real.JPG", JpegFile()},
#endif
  };
  const std::vector<PictureCase> cases = {
      {{"logo.bmp"}, 0, "picture\t4\t3\t24\t0\n", "", 0},
      {{"logo.bmp", "out.bmp"}, 0, "picture\t4\t3\t24\t0\n", "", 54 + 12 * 3},
      {{"565.BMP", "out.bmp"}, 0, "picture\t2\t2\t16\t3\n", "", 66 + 8},
      {{"logo.tga", "out.bmp"}, 0, "picture\t6\t1\t24\t0\n", "", 54 + 20},
      {{"logo.jpg", "out.bmp"}, 1, "", kCutJpegRefusal, 0},
#ifdef QV70_CLI_GRAPH
      {{"real.JPG", "out.bmp"}, 0, "picture\t10\t6\t24\t0\n", "", 54 + 32 * 6},
#endif
      {{"cut.bmp", "out.bmp"}, 1, "", ": the pixel data is cut short\n", 0},
      {{"logo.png"}, 1, "", ": no decoder for this kind of file\n", 0},
      {{"logo.bmp", "out.tga"}, 1, "", "cannot save picture", 0},
      {{}, 2, "", "usage: qv70cli", 0},
      {{"logo.bmp", "a.bmp", "b.bmp"}, 2, "", "usage: qv70cli", 0},
      {{"logo.bmp", "--fast"}, 2, "", "usage: qv70cli", 0},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    for (const auto& [name, bytes] : files) test::WriteWholeFile(dir.File(name), bytes);
    std::vector<std::string> args = {"picture"};
    for (const auto& word : c.args) args.push_back(word.rfind("--", 0) == 0 ? word : dir.File(word));
    const std::string name = args.size() > 1 ? args[1] : "(none)";
    const std::string err = c.err[0] == ':' ? "cannot load picture \"" + args[1] + "\"" + c.err : c.err;
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.status, c.status) << name;
    EXPECT_EQ(run.out, c.out) << name;
    EXPECT_EQ(err.empty() ? run.err : run.err.substr(0, err.size()), err) << name;
    if (c.status == 2) {
      EXPECT_NE(run.err.find("picture IN [OUT.bmp]"), std::string::npos) << name;
    }
    EXPECT_EQ(ReadWholeFile(dir.File("out.bmp")).size(), c.outBmpSize) << name;
  }
}

// The command names of a usage text: its lines "  NAME ...".
std::vector<std::string> UsageCommands(const std::string& usage) {
  std::vector<std::string> names;
  for (const std::string& line : Lines(usage))
    if (line.size() > 2 && line.rfind("  ", 0) == 0 && line[2] != ' ')
      names.push_back(line.substr(2, line.find(' ', 2) - 2));
  return names;
}

// --help (and help) lists the usage's commands, each with an example, and each
// example is a command line qv70cli takes as it stands: run in a folder with
// its data file and no instrument, no example is a usage error, and those on
// files do their work.
TEST(Qv70Cli, HelpGivesEveryCommandAnExampleThatRuns) {
  const CliRun help = RunCli({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("usage: qv70cli", 0), 0u);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(RunCli({"help"}).out, help.out);
  const std::vector<std::string> commands = UsageCommands(help.out);
  EXPECT_EQ(commands, UsageCommands(RunCli({}).err));

  std::vector<std::string> examples;
  for (const std::string& line : Lines(help.out))
    if (line.rfind("      example: ", 0) == 0) examples.push_back(line.substr(15));
  ASSERT_EQ(examples.size(), commands.size());

  test::TempDir dir;
  test::WriteWholeFile(dir.File("demo.csv"), ReadWholeFile(ExamplePath("current_comma_period.csv")));
  const std::vector<std::string> onFiles = {"dump", "save", "graph", "report"};
  for (size_t i = 0; i < commands.size(); ++i) {
    EXPECT_EQ((examples[i] + " ").rfind("qv70cli " + commands[i] + " ", 0), 0u) << examples[i];
    const std::string command = "cd " + test::Quote(dir.path()) + " && PATH=" + test::Quote(QV70_BIN_DIR) +
                                ":\"$PATH\" QV70_SIM_SOCKET=" + test::Quote(dir.File("none.sock")) + " " +
                                examples[i] + " >/dev/null 2>" + test::Quote(dir.File("err"));
    const int raw = std::system(command.c_str());
    const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const bool onFile = std::find(onFiles.begin(), onFiles.end(), commands[i]) != onFiles.end();
    if (onFile) {
      EXPECT_EQ(status, 0) << examples[i] << "\n" << ReadWholeFile(dir.File("err"));
    } else {
      EXPECT_EQ(status, 1) << examples[i] << "\n" << ReadWholeFile(dir.File("err"));
    }
  }
}

}  // namespace
}  // namespace qv70
