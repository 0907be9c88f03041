#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/platform/ui_services.h"

namespace qv70::test {
class SimProcess;
}

namespace qv70::monkey {

class MonkeyRandom;

// Everything the monkey's program touches, in one folder of its own: the
// program folder (library, logo, help, DAT, Config.ini and Comment.inl as the
// run leaves them), a pool of good, damaged and impossible files to open,
// places to save to, and simulated instruments that are healthy, faulty or
// not there.
class MonkeyWorld {
 public:
  MonkeyWorld(std::string root, std::string sourceDir, std::string binDir);
  ~MonkeyWorld();

  // Makes the folders and the pool and starts the simulators; false with
  // the reason in `error`.
  bool Prepare(MonkeyRandom& random, std::string& error);
  // Pictures made with Qt's writers (JPEG, GIF), once a QGuiApplication exists.
  void AddQtPictures();

  const std::string& ProgramDir() const { return programDir_; }
  const std::string& LockDir() const { return lockDir_; }
  const std::string& Root() const { return root_; }
  std::string PrintFile() const { return root_ + "/print.pdf"; }

  // A path for an open dialog: mostly of the kind the dialog asks for, now
  // and then anything, a file saved earlier, or nothing at all.
  std::string OpenPath(const FileDialogRequest& request, MonkeyRandom& random);
  // A path for a save dialog: new, existing, impossible or odd.
  std::string SavePath(const FileDialogRequest& request, MonkeyRandom& random);
  // Changes one of the files beside the program; says what it did.
  std::string DamageProgramFile(MonkeyRandom& random);
  // Points the instrument library at one of the simulators (or at none);
  // says which.
  std::string ChooseInstrument(MonkeyRandom& random);

  // What the simulators' sanitizers reported, if anything.
  std::string SimulatorFindings() const;
  void StopSimulators();

 private:
  struct Pool {
    std::vector<std::string> data, pictures, texts, odd;
  };
  struct Instrument {
    std::string name;
    std::string socket;
  };

  void MakeDataFiles(MonkeyRandom& random);
  void MakePictures();
  void MakeTexts();
  void MakeOddFiles();
  void MakeProgramFolder();
  bool StartSimulators(std::string& error);
  std::string CopyInto(const std::string& from, const std::string& name);
  std::string Write(const std::string& name, const std::string& content);
  const std::vector<std::string>& PoolFor(const FileDialogRequest& request) const;

  std::string root_, sourceDir_, binDir_;
  std::string programDir_, lockDir_, poolDir_, savesDir_;
  Pool pool_;
  std::vector<std::string> saved_;
  int saveCounter_ = 0;
  std::vector<Instrument> instruments_;
  std::vector<std::unique_ptr<test::SimProcess>> simulators_;
};

}  // namespace qv70::monkey
