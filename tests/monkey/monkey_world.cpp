#include "monkey_world.h"

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "monkey_random.h"
#include "support/bad_files.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

namespace qv70::monkey {

namespace fs = std::filesystem;
using test::ReadWholeFile;
using test::WriteWholeFile;

namespace {

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  }
  // The order of a listing is the file system's: sorted, a seed replays.
  std::sort(files.begin(), files.end());
  return files;
}

bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

bool AsksFor(const FileDialogRequest& request, const char* pattern) {
  return request.filterPattern.find(pattern) != std::string::npos;
}

// A copy of `text` with a few things a damaged or hand-edited file has.
std::string Mutated(const std::string& text, MonkeyRandom& random) {
  if (text.empty()) return text;
  std::string result = text;
  const size_t at = static_cast<size_t>(random.Below(static_cast<int>(result.size())));
  switch (random.Below(7)) {
    case 0: result.resize(at); break;
    case 1:
      for (int flips = random.Between(1, 20); flips > 0; --flips)
        result[static_cast<size_t>(random.Below(static_cast<int>(result.size())))] =
            static_cast<char>(random.Below(256));
      break;
    case 2: result.insert(at, std::string(static_cast<size_t>(random.Between(1000, 70000)), '9')); break;
    case 3: std::replace(result.begin(), result.end(), ',', ';'); break;
    case 4: result.insert(at, "\r\n\r\n,,,;;;\n"); break;
    case 5: result.insert(at, std::string(1, '\0')); break;
    default: result += result.substr(at); break;
  }
  return result;
}

}  // namespace

MonkeyWorld::MonkeyWorld(std::string root, std::string sourceDir, std::string binDir)
    : root_(std::move(root)), sourceDir_(std::move(sourceDir)), binDir_(std::move(binDir)) {
  programDir_ = root_ + "/program";
  lockDir_ = root_ + "/lock";
  poolDir_ = root_ + "/files";
  savesDir_ = root_ + "/saves";
}

MonkeyWorld::~MonkeyWorld() { StopSimulators(); }

bool MonkeyWorld::Prepare(MonkeyRandom& random, std::string& error) {
  // What an earlier run left (saves, a rewritten Config.ini) would change what this one does.
  std::error_code unreadable;
  if (fs::exists(root_, unreadable) && !fs::is_empty(root_, unreadable)) {
    error = "the work folder " + root_ + " is not empty; a run needs a new one";
    return false;
  }
  for (const std::string& folder : {root_, programDir_, lockDir_, poolDir_, savesDir_, root_ + "/readonly"}) {
    std::error_code made;
    fs::create_directories(folder, made);
    if (made) {
      error = "cannot make " + folder + ": " + made.message();
      return false;
    }
  }
  chmod(lockDir_.c_str(), 0700);
  chmod((root_ + "/readonly").c_str(), 0555);
  MakeProgramFolder();
  MakeDataFiles(random);
  MakePictures();
  MakeTexts();
  MakeOddFiles();
  if (pool_.data.empty()) {
    error = "no data files under " + sourceDir_ + "/examples";
    return false;
  }
  return StartSimulators(error);
}

std::string MonkeyWorld::CopyInto(const std::string& from, const std::string& name) {
  const std::string to = poolDir_ + "/" + name;
  WriteWholeFile(to, ReadWholeFile(from));
  return to;
}

std::string MonkeyWorld::Write(const std::string& name, const std::string& content) {
  const std::string to = poolDir_ + "/" + name;
  WriteWholeFile(to, content);
  return to;
}

void MonkeyWorld::MakeProgramFolder() {
  for (const char* name : {"libZvUsbSgl.so", "ZvUsbSgl.conf", "Logo_ZAVEL.bmp"}) {
    const std::string from = binDir_ + "/" + name;
    if (Exists(from)) WriteWholeFile(programDir_ + "/" + name, ReadWholeFile(from));
  }
  if (!Exists(programDir_ + "/Logo_ZAVEL.bmp"))
    WriteWholeFile(programDir_ + "/Logo_ZAVEL.bmp", ReadWholeFile(sourceDir_ + "/resources/Logo_ZAVEL.bmp"));
  fs::create_directories(programDir_ + "/Help");
  fs::create_directories(programDir_ + "/DAT");
  WriteWholeFile(programDir_ + "/Help/QV70Help.chm", "ITSF");
}

void MonkeyWorld::MakeDataFiles(MonkeyRandom& random) {
  const std::vector<std::string> examples = FilesIn(sourceDir_ + "/examples");
  std::vector<std::string> good;
  for (const std::string& example : examples) {
    if (example.size() < 4 || example.compare(example.size() - 4, 4, ".csv") != 0) continue;
    good.push_back(CopyInto(example, fs::path(example).filename().string()));
  }
  pool_.data = good;
  int index = 0;
  for (const std::string& seed : FilesIn(sourceDir_ + "/fuzz/datafile_corpus"))
    pool_.data.push_back(CopyInto(seed, "corpus-" + std::to_string(index++) + ".csv"));
  for (int mutant = 0; mutant < 40 && !good.empty(); ++mutant) {
    const std::string text = ReadWholeFile(random.Pick(good));
    pool_.data.push_back(Write("mutant-" + std::to_string(mutant) + ".csv", Mutated(text, random)));
  }
  pool_.data.push_back(Write("empty.csv", ""));
}

void MonkeyWorld::MakePictures() {
  pool_.pictures.push_back(CopyInto(sourceDir_ + "/resources/Logo_ZAVEL.bmp", "logo.bmp"));
  int index = 0;
  for (const std::string& seed : FilesIn(sourceDir_ + "/fuzz/bmp_corpus")) {
    // Every fourth under another extension: the content decides nothing.
    const char* extension = index % 4 == 3 ? ".jpg" : ".bmp";
    pool_.pictures.push_back(CopyInto(seed, "bmp-" + std::to_string(index++) + extension));
  }
  index = 0;
  for (const std::string& seed : FilesIn(sourceDir_ + "/fuzz/tga_corpus"))
    pool_.pictures.push_back(CopyInto(seed, "tga-" + std::to_string(index++) + ".tga"));
  pool_.pictures.push_back(Write("empty.bmp", ""));
  pool_.pictures.push_back(Write("text.jpeg", "not a picture\n"));
}

void MonkeyWorld::AddQtPictures() {
  const QImage logo(QString::fromStdString(pool_.pictures.front()));
  if (logo.isNull()) return;
  const struct {
    const char* name;
    const char* format;
    QSize size;
  } made[] = {{"logo.jpg", "JPG", logo.size()},
              {"wide.jpeg", "JPG", QSize(4000, 30)},
              {"tall.jpg", "JPG", QSize(20, 3000)},
              {"logo.gif", "GIF", logo.size()},
              {"tiny.bmp", "BMP", QSize(1, 1)}};
  for (const auto& picture : made) {
    const std::string path = poolDir_ + "/" + picture.name;
    if (logo.scaled(picture.size).save(QString::fromStdString(path), picture.format))
      pool_.pictures.push_back(path);
  }
  const std::string jpeg = ReadWholeFile(poolDir_ + "/logo.jpg");
  if (!jpeg.empty()) pool_.pictures.push_back(Write("cut.jpg", jpeg.substr(0, jpeg.size() / 2)));
}

void MonkeyWorld::MakeTexts() {
  int index = 0;
  for (const char* corpus : {"/fuzz/rtf_corpus", "/fuzz/comment_corpus"}) {
    for (const std::string& seed : FilesIn(sourceDir_ + corpus))
      pool_.texts.push_back(CopyInto(seed, "text-" + std::to_string(index++) + ".txt"));
  }
  pool_.texts.push_back(Write("lines.txt", "first line\nsecond line\r\nthird\n"));
  pool_.texts.push_back(Write("chinese.txt", "\xe7\xbb\x9d\xe7\xbc\x98\xe7\x94\xb5\xe9\x98\xbb\xe6\xb5\x8b\xe8\xaf\x95\n"));
  pool_.texts.push_back(Write("long.txt", std::string(5000, 'x') + "\n" + std::string(300, '\n')));
  pool_.texts.push_back(Write("binary.txt", test::BinaryBytes("text")));
  pool_.texts.push_back(Write("empty.txt", ""));
}

void MonkeyWorld::MakeOddFiles() {
  const std::string base = poolDir_ + "/";
  mkfifo((base + "fifo.csv").c_str(), 0644);
  mkfifo((base + "fifo.txt").c_str(), 0644);
  mkfifo((base + "fifo.bmp").c_str(), 0644);
  fs::create_directories(base + "folder.csv");
  (void)!symlink("/dev/zero", (base + "zero.csv").c_str());
  (void)!symlink("/dev/zero", (base + "zero.bmp").c_str());
  (void)!symlink((base + "gone.csv").c_str(), (base + "dangling.csv").c_str());
  WriteWholeFile(base + "unreadable.csv", ReadWholeFile(pool_.data.front()));
  chmod((base + "unreadable.csv").c_str(), 0);
  // Past every reader's bound without costing the disk anything.
  for (const char* name : {"huge.csv", "huge.bmp", "huge.txt"}) {
    WriteWholeFile(base + name, "");
    (void)!truncate((base + name).c_str(), 70LL * 1024 * 1024);
  }
  pool_.odd = {base + "fifo.csv",     base + "fifo.txt",       base + "fifo.bmp",  base + "folder.csv",
               base + "zero.csv",     base + "zero.bmp",       base + "dangling.csv", base + "unreadable.csv",
               base + "huge.csv",     base + "huge.bmp",       base + "huge.txt",  base + "missing.csv",
               base,                  programDir_ + "/Config.ini"};
}

const std::vector<std::string>& MonkeyWorld::PoolFor(const FileDialogRequest& request) const {
  if (AsksFor(request, "*.csv")) return pool_.data;
  if (AsksFor(request, "*.txt")) return pool_.texts;
  if (AsksFor(request, "*.bmp") || AsksFor(request, "*.jpg")) return pool_.pictures;
  return pool_.data;
}

std::string MonkeyWorld::OpenPath(const FileDialogRequest& request, MonkeyRandom& random) {
  switch (random.Weighted({70, 8, 8, 6, 8})) {
    case 0: return random.Pick(PoolFor(request));
    case 1: return random.Pick(pool_.odd);
    case 2:
      if (!saved_.empty()) {
        const std::string& path = random.Pick(saved_);
        if (Exists(path)) return path;
      }
      return random.Pick(PoolFor(request));
    case 3: {
      const std::vector<std::string>* pools[] = {&pool_.data, &pool_.pictures, &pool_.texts};
      return random.Pick(*pools[random.Below(3)]);
    }
    default: return random.Pick(pool_.data);
  }
}

std::string MonkeyWorld::SavePath(const FileDialogRequest& request, MonkeyRandom& random) {
  const std::string extension = AsksFor(request, "*.rtf") ? ".rtf" : ".csv";
  std::string path;
  switch (random.Weighted({40, 25, 4, 4, 4, 3, 4, 3, 3, 4, 2})) {
    case 0: path = savesDir_ + "/save-" + std::to_string(++saveCounter_) + extension; break;
    case 1: path = saved_.empty() ? savesDir_ + "/first" + extension : random.Pick(saved_); break;
    case 2: path = savesDir_; break;
    case 3: path = root_ + "/nowhere/lost" + extension; break;
    case 4: path = root_ + "/readonly/locked" + extension; break;
    case 5: path = programDir_ + (random.Chance(50) ? "/Config.ini" : "/Comment.inl"); break;
    case 6: path = savesDir_ + "/no-extension"; break;
    case 7: path = poolDir_ + "/fifo.csv"; break;
    case 8: path = savesDir_ + "/" + std::string(300, 'n') + extension; break;
    case 9: {
      path = savesDir_ + "/link" + extension;
      if (!saved_.empty() && !Exists(path)) (void)!symlink(random.Pick(saved_).c_str(), path.c_str());
      break;
    }
    default: path = savesDir_ + "/other-kind" + (extension == ".csv" ? ".rtf" : ".csv"); break;
  }
  if (std::find(saved_.begin(), saved_.end(), path) == saved_.end()) saved_.push_back(path);
  return path;
}

std::string MonkeyWorld::DamageProgramFile(MonkeyRandom& random) {
  const char* names[] = {"Config.ini", "Comment.inl", "Logo_ZAVEL.bmp", "ZvUsbSgl.conf", "DAT"};
  const std::string name = names[random.Below(5)];
  const std::string path = programDir_ + "/" + name;
  std::error_code ignored;
  fs::remove_all(path, ignored);
  const int how = random.Below(6);
  if (how == 0) return "removed " + name;
  if (how == 1) {
    // Back as the program came.
    if (name == "DAT") fs::create_directories(path, ignored);
    else if (name == "Config.ini" || name == "Comment.inl") return "removed " + name;
    else WriteWholeFile(path, ReadWholeFile(binDir_ + "/" + name));
    return "restored " + name;
  }
  if (how == 2) {
    const std::vector<test::BadFileKind> kinds = test::BadFileKinds();
    const test::BadFileKind& kind = kinds[static_cast<size_t>(random.Below(static_cast<int>(kinds.size())))];
    kind.make(path, "[INFO]\n");
    return name + " made a " + kind.name;
  }
  const std::vector<std::string>* sources[] = {&pool_.data, &pool_.pictures, &pool_.texts};
  std::string content = ReadWholeFile(random.Pick(*sources[random.Below(3)]));
  if (name == "Config.ini" || name == "Comment.inl") {
    const std::string corpus = name == "Config.ini" ? "/fuzz/settings_corpus" : "/fuzz/comment_corpus";
    const std::vector<std::string> seeds = FilesIn(sourceDir_ + corpus);
    if (!seeds.empty() && how >= 4) content = ReadWholeFile(random.Pick(seeds));
  }
  WriteWholeFile(path, content);
  return name + " rewritten (" + std::to_string(content.size()) + " bytes)";
}

bool MonkeyWorld::StartSimulators(std::string& error) {
  error = test::SimMissing();
  if (!error.empty()) return false;
  const std::string examples = sourceDir_ + "/examples";
  const struct {
    const char* name;
    std::vector<std::string> arguments;
  } kinds[] = {
      {"demo", {"--demo", "--seed", "1"}},
      {"demo seed 9", {"--demo", "--seed", "9"}},
      {"empty memory", {}},
      {"loaded older layout", {"--load", examples + "/older_layout.csv"}},
      {"absent", {"--fault", "absent"}},
      {"NG to logging sets", {"--demo", "--fault", "nak::MEM:DATA? L"}},
      {"garbage for group C", {"--demo", "--fault", "garbage::MEM:DATA? C"}},
      {"silent count", {"--demo", "--fault", "silent::MEM:DATA? COUNT"}},
      {"hung identification", {"--demo", "--fault", "hang:*IDN?"}},
      {"dripping serial", {"--demo", "--fault", "drip::SERIAL?", "--drip-interval", "40"}},
      {"odd counts", {"--demo", "--fault", "reply::MEM:DATA? COUNT=999,0,-1,12,5,5,5,5,5,5,1,1,1,1,1,1,1,1,1,99999"}},
      {"odd PI times", {"--demo", "--fault", "reply::SET:PI?=99,xx"}},
      {"NG to settings", {"--demo", "--fault", "nak::SET:"}},
      {"never accepting", {"--no-accept"}},
  };
  for (const auto& kind : kinds) {
    auto sim = std::make_unique<test::SimProcess>();
    if (!sim->Start(kind.arguments)) {
      error = std::string("the simulator \"") + kind.name + "\" did not start: " + sim->Output();
      return false;
    }
    instruments_.push_back({kind.name, sim->Socket()});
    simulators_.push_back(std::move(sim));
  }
  instruments_.push_back({"nothing listening", root_ + "/no-instrument.sock"});
  return true;
}

std::string MonkeyWorld::ChooseInstrument(MonkeyRandom& random) {
  // Mostly the healthy one, so that downloads bring data often.
  const Instrument& chosen = random.Chance(50) ? instruments_.front() : random.Pick(instruments_);
  setenv("QV70_SIM_SOCKET", chosen.socket.c_str(), 1);
  return chosen.name;
}

std::string MonkeyWorld::SimulatorFindings() const {
  std::string findings;
  for (size_t index = 0; index < simulators_.size(); ++index) {
    const std::string output = simulators_[index]->Output();
    if (output.find("Sanitizer") != std::string::npos || output.find("runtime error") != std::string::npos)
      findings += "simulator \"" + instruments_[index].name + "\":\n" + output + "\n";
  }
  return findings;
}

void MonkeyWorld::StopSimulators() {
  for (auto& sim : simulators_) {
    if (sim->Running()) sim->Stop();
  }
}

}  // namespace qv70::monkey
