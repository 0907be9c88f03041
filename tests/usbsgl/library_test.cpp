// libZvUsbSgl.so as the program uses it: loaded by full path, the presence
// check, the two pipes, plain write and 64-byte reads, against qv70-sim.

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "demo_memory.h"
#include "sim_link.h"
#include "instrument.h"
#include "support/private_tmp.h"
#include "support/sim_process.h"

namespace qv70::sim {
namespace {

using test::ScopedEnvironment;
using test::SimProcess;
using test::SimSocket;
using test::TempDir;

using CheckFunction = int (*)(void*);
using OpenFunction = int (*)(int);

class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    handle = dlopen(test::LibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    check = reinterpret_cast<CheckFunction>(dlsym(handle, "CheckUSBDevices"));
    open = reinterpret_cast<OpenFunction>(dlsym(handle, "OpenUSBBulkFile"));
    ASSERT_NE(check, nullptr);
    ASSERT_NE(open, nullptr);
    environment.Set("QV70_SIM_SOCKET", socket);
    environment.Unset("ZVUSBSGL_READ_TIMEOUT_MS");
  }
  void TearDown() override {
    if (handle != nullptr) dlclose(handle);
  }
  void StartSim(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--socket", socket});
    ASSERT_TRUE(sim.Start(arguments)) << sim.Output();
  }

  // One exchange as the program makes it: the whole command in one write, then
  // reads of up to 64 bytes until one delivers nothing (or fails).
  std::string Transact(int writePipe, int readPipe, const std::string& command, std::vector<long>* reads = nullptr) {
    EXPECT_EQ(write(writePipe, command.data(), command.size()), static_cast<ssize_t>(command.size()));
    std::string reply;
    for (;;) {
      char chunk[64];
      ssize_t got = read(readPipe, chunk, sizeof(chunk));
      if (reads != nullptr) reads->push_back(got);
      if (got <= 0) return reply;
      reply.append(chunk, static_cast<size_t>(got));
    }
  }

  TempDir dir;
  std::string socket = dir.File("sim.sock");
  // Before the simulator, so the simulator's own change is undone first.
  ScopedEnvironment environment;
  SimProcess sim;
  void* handle = nullptr;
  CheckFunction check = nullptr;
  OpenFunction open = nullptr;
};

TEST_F(LibraryTest, DownloadsTheWholeDemoInstrumentExactly) {
  StartSim({"--demo", "--seed", "11"});
  InstrumentMemory memory = BuildDemoMemory(11);
  unsigned char scratch[64];
  std::memset(scratch, 0xA5, sizeof(scratch));
  ASSERT_EQ(check(scratch), 1);
  for (unsigned char byte : scratch) ASSERT_EQ(byte, 0xA5) << "the scratch area is the program's";

  int writePipe = open(0), readPipe = open(1);
  ASSERT_GE(writePipe, 0);
  ASSERT_GE(readPipe, 0);
  EXPECT_NE(writePipe, readPipe);
  std::vector<std::pair<std::string, std::string>> exchanges{{":MEM:DATA? COUNT\n", CountReply(memory)}};
  for (int g = 0; g < kGroups; ++g)
    for (int r = 0; r < kSlots; ++r)
      exchanges.push_back({":MEM:DATA? " + SlotLabel(g, r) + "\n", RecordReply(memory.slots[g][r])});
  for (int s = 0; s < kSets; ++s)
    exchanges.push_back({":MEM:DATA? L" + std::to_string(s) + "\n", LoggingReply(memory.sets[s])});
  exchanges.push_back({"*IDN?\n", memory.idn + "\r\n"});
  exchanges.push_back({":SERIAL?\n", memory.serial + "\r\n"});
  exchanges.push_back({":SET:PI?\n", memory.piT1 + "," + memory.piT2 + "\r\n"});
  exchanges.push_back({":SET:STEP?\n", memory.stepCode + "\r\n"});

  auto started = std::chrono::steady_clock::now();
  for (const auto& [command, expected] : exchanges) {
    std::vector<long> reads;
    ASSERT_EQ(Transact(writePipe, readPipe, command, &reads), expected) << command;
    EXPECT_EQ(reads.back(), 0) << command << ": the reply ends with an empty read, not a failure";
    for (long got : reads) EXPECT_LE(got, 64) << command;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  EXPECT_LT(seconds, 2.0) << "a full download took " << seconds << " s";
  close(writePipe);
  close(readPipe);
}

TEST_F(LibraryTest, ReplyOfExactly64BytesIsOneChunkAndAnEmptyRead) {
  std::string idn(62, 'x');
  idn.replace(0, 20, "ZAVEL ,QV70 ,Ver1.00");
  StartSim({"--idn", idn});
  int writePipe = open(0), readPipe = open(1);
  std::vector<long> reads;
  EXPECT_EQ(Transact(writePipe, readPipe, "*IDN?\n", &reads), idn + "\r\n");
  EXPECT_EQ(reads, (std::vector<long>{64, 0}));
  close(writePipe);
  close(readPipe);
}

TEST_F(LibraryTest, PipesOpenInEitherOrderAndAgainAfterClosing) {
  StartSim({"--demo"});
  for (int round = 0; round < 30; ++round) {
    ASSERT_EQ(check(nullptr), 1) << round;
    bool readFirst = round % 2 == 1;
    int first = open(readFirst ? 1 : 0), second = open(readFirst ? 0 : 1);
    ASSERT_GE(first, 0) << round;
    ASSERT_GE(second, 0) << round;
    int writePipe = readFirst ? second : first, readPipe = readFirst ? first : second;
    ASSERT_EQ(Transact(writePipe, readPipe, ":SET:STEP?\n"), "01\r\n") << round;
    close(writePipe);
    close(readPipe);
  }
}

TEST_F(LibraryTest, SetCommandsReachTheInstrument) {
  std::string log = dir.File("log.txt");
  StartSim({"--log", log});
  int writePipe = open(0), readPipe = open(1);
  EXPECT_EQ(Transact(writePipe, readPipe, ":TIME 2009, 03, 05, 14, 07, 09\n"), "OK\r\n");
  EXPECT_EQ(Transact(writePipe, readPipe, ":SET:PI 1, 10\n"), "OK\r\n");
  EXPECT_EQ(Transact(writePipe, readPipe, ":SET:STEP 02\n"), "OK\r\n");
  EXPECT_EQ(Transact(writePipe, readPipe, ":SET:STEP?\n"), "02\r\n");
  close(writePipe);
  close(readPipe);
  EXPECT_EQ(test::ReadWholeFile(log), ":TIME 2009, 03, 05, 14, 07, 09\n:SET:PI 1, 10\n:SET:STEP 02\n:SET:STEP?\n");
}

struct FailureCase {
  const char* name;
  std::vector<std::string> simArguments;  // empty with startSim false: nothing listens
  bool startSim;
  int check;
  bool pipesOpen;
};

TEST_F(LibraryTest, NoInstrumentMeansNoPresenceAndNoPipes) {
  const FailureCase cases[] = {
      {"absent fault", {"--demo", "--fault", "absent"}, true, 0, false},
      {"no simulator listening", {}, false, 0, false},
      {"instrument present", {"--demo"}, true, 1, true},
  };
  for (const FailureCase& c : cases) {
    SimProcess local;
    if (c.startSim) {
      std::vector<std::string> arguments{"--socket", socket};
      arguments.insert(arguments.end(), c.simArguments.begin(), c.simArguments.end());
      ASSERT_TRUE(local.Start(arguments)) << c.name;
    }
    EXPECT_EQ(check(nullptr), c.check) << c.name;
    int writePipe = open(0), readPipe = open(1);
    EXPECT_EQ(writePipe >= 0, c.pipesOpen) << c.name;
    EXPECT_EQ(readPipe >= 0, c.pipesOpen) << c.name;
    if (!c.pipesOpen) {
      EXPECT_EQ(writePipe, -1) << c.name;
      EXPECT_EQ(readPipe, -1) << c.name;
    }
    if (writePipe >= 0) close(writePipe);
    if (readPipe >= 0) close(readPipe);
    local.Stop();
  }
  EXPECT_EQ(open(2), -1);
  EXPECT_EQ(open(-1), -1);
}

TEST_F(LibraryTest, SilentAndHangingInstrumentsEndTheReply) {
  environment.Set("ZVUSBSGL_READ_TIMEOUT_MS", "300");
  StartSim({"--demo", "--fault", "silent:*IDN?", "--fault", "hang::SERIAL?"});
  int writePipe = open(0), readPipe = open(1);
  std::vector<long> reads;
  EXPECT_EQ(Transact(writePipe, readPipe, "*IDN?\n", &reads), "");
  EXPECT_EQ(reads, std::vector<long>{0});

  auto started = std::chrono::steady_clock::now();
  reads.clear();
  EXPECT_EQ(Transact(writePipe, readPipe, ":SERIAL?\n", &reads), "");
  double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  EXPECT_GE(waited, 0.25);
  EXPECT_LT(waited, 2.0);
  EXPECT_EQ(reads.size(), 1u);
  EXPECT_LE(reads.back(), 0) << "a timed-out read delivers nothing";
  close(writePipe);
  close(readPipe);
  // The instrument is free for the next program at once.
  EXPECT_EQ(check(nullptr), 1);
  writePipe = open(0);
  readPipe = open(1);
  EXPECT_EQ(Transact(writePipe, readPipe, ":SET:STEP?\n"), "01\r\n");
  close(writePipe);
  close(readPipe);
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct DeadlineCase {
  const char* name;
  const char* readTimeout;      // ZVUSBSGL_READ_TIMEOUT_MS, or nullptr
  const char* exchangeTimeout;  // ZVUSBSGL_EXCHANGE_TIMEOUT_MS, or nullptr
  const char* configuration;    // ZvUsbSgl.conf, or nullptr for the shipped one
  double seconds;               // the deadline that should end a reply trickling in
};

// A reply that keeps coming a byte at a time never meets the read time-out; the
// whole exchange has a deadline of its own, and then the program reads no
// reply at all, as from a silent instrument.
TEST_F(LibraryTest, AWholeReplyHasADeadline) {
  const DeadlineCase cases[] = {
      {"six read time-outs by default", "200", nullptr, nullptr, 1.2},
      {"set in ZvUsbSgl.conf", nullptr, nullptr, "read_timeout_ms = 300\nexchange_timeout_ms = 700\n", 0.7},
      {"set in the environment", "300", "500", nullptr, 0.5},
      {"never shorter than one read time-out", "600", "100", nullptr, 0.6},
  };
  StartSim({"--demo", "--fault", "drip::MEM:DATA? L", "--drip-interval", "40"});
  for (const DeadlineCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedEnvironment limits;
    if (c.readTimeout) limits.Set("ZVUSBSGL_READ_TIMEOUT_MS", c.readTimeout);
    if (c.exchangeTimeout) limits.Set("ZVUSBSGL_EXCHANGE_TIMEOUT_MS", c.exchangeTimeout);
    if (c.configuration) {
      test::WriteWholeFile(dir.File("ZvUsbSgl.conf"), c.configuration);
      limits.Set("ZVUSBSGL_CONF", dir.File("ZvUsbSgl.conf"));
    }
    int writePipe = open(0), readPipe = open(1);
    ASSERT_GE(writePipe, 0);
    std::vector<long> reads;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Transact(writePipe, readPipe, ":MEM:DATA? L0\n", &reads), "");
    const double waited = SecondsSince(start);
    EXPECT_EQ(reads, std::vector<long>{0}) << "no piece of the reply reaches the program";
    EXPECT_GE(waited, c.seconds - 0.05);
    EXPECT_LT(waited, c.seconds + 0.7);
    // What the simulator still sends belongs to no command: the pipes are dead.
    (void)!write(writePipe, ":SET:STEP?\n", 11);
    char chunk[64];
    EXPECT_LE(read(readPipe, chunk, sizeof(chunk)), 0) << "ended, or reset with the command unread";
    close(writePipe);
    close(readPipe);
  }
  // A fresh opening talks to the instrument again.
  int writePipe = open(0), readPipe = open(1);
  EXPECT_EQ(Transact(writePipe, readPipe, ":SET:STEP?\n"), "01\r\n");
  close(writePipe);
  close(readPipe);
}

// The program gets a reply whole, or not at all: never the first part of one.
TEST_F(LibraryTest, RepliesArriveWholeOrNotAtAll) {
  environment.Set("ZVUSBSGL_READ_TIMEOUT_MS", "400");
  StartSim({"--demo", "--fault", "drip::SERIAL?", "--fault", "drip::MEM:DATA? L", "--drip-interval", "20"});
  int writePipe = open(0), readPipe = open(1);
  // Trickling in, but complete well within the deadline.
  std::vector<long> reads;
  EXPECT_EQ(Transact(writePipe, readPipe, ":SERIAL?\n", &reads), "09120345\r\n");
  EXPECT_EQ(reads, (std::vector<long>{10, 0}));
  // The simulator dies half-way through a reply.
  std::thread killer([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    sim.Stop(SIGKILL);
  });
  reads.clear();
  EXPECT_EQ(Transact(writePipe, readPipe, ":MEM:DATA? L0\n", &reads), "");
  killer.join();
  EXPECT_EQ(reads, std::vector<long>{0});
  close(writePipe);
  close(readPipe);
}

// A stand-in for the simulator on the test's socket: it opens the pipes and
// answers every command with `reply`, sent as one packet and the empty one.
class OnePacketInstrument {
 public:
  OnePacketInstrument(const std::string& path, std::string reply) : reply_(std::move(reply)) {
    listener_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    listening_ = bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
                 listen(listener_, 1) == 0;
    if (listening_) server_ = std::thread([this] { Serve(); });
  }
  ~OnePacketInstrument() {
    shutdown(listener_, SHUT_RDWR);
    if (server_.joinable()) server_.join();
    close(listener_);
  }
  bool Listening() const { return listening_; }

 private:
  void Serve() {
    const int fd = accept(listener_, nullptr, nullptr);
    if (fd < 0) return;
    char message[256];
    while (recv(fd, message, sizeof(message), 0) > 0) {
      if (message[0] == '\0') {
        send(fd, usbsgl::kReadyAnswer.data(), usbsgl::kReadyAnswer.size(), MSG_NOSIGNAL);
        continue;
      }
      send(fd, reply_.data(), reply_.size(), MSG_NOSIGNAL);
      send(fd, nullptr, 0, MSG_NOSIGNAL);
    }
    close(fd);
  }

  std::string reply_;
  int listener_ = -1;
  bool listening_ = false;
  std::thread server_;
};

// Packets of any size up to the relay's room pass whole, cut into 64-byte
// reads; a larger one would arrive cut off, and so gives no reply at all.
TEST_F(LibraryTest, APacketTooLargeToTakeWholeIsNoReply) {
  environment.Set("ZVUSBSGL_READ_TIMEOUT_MS", "1000");
  for (const size_t size : {size_t{4096}, size_t{4097}, size_t{60000}}) {
    SCOPED_TRACE(size);
    unlink(socket.c_str());
    const std::string reply(size, 'x');
    OnePacketInstrument instrument(socket, reply);
    ASSERT_TRUE(instrument.Listening());
    int writePipe = open(0), readPipe = open(1);
    ASSERT_GE(writePipe, 0);
    EXPECT_EQ(Transact(writePipe, readPipe, ":SERIAL?\n"), size <= 4096 ? reply : std::string());
    close(writePipe);
    close(readPipe);
  }
}

// A listener that never accepts: the first connection waits in its queue
// unanswered, later ones cannot even connect. Neither holds the program.
TEST_F(LibraryTest, ASimulatorThatNeverAcceptsIsNoInstrumentAtOnce) {
  environment.Set("ZVUSBSGL_READ_TIMEOUT_MS", "300");
  StartSim({"--no-accept"});
  for (int attempt = 0; attempt < 4; ++attempt) {
    SCOPED_TRACE(attempt);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(check(nullptr), 0);
    EXPECT_LT(SecondsSince(start), 1.0);
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(open(0), -1);
    EXPECT_LT(SecondsSince(start), 1.0);
  }
}

// The default socket lies in the user's private folder, whatever the session's
// variables say; these run with a /tmp of their own (see private_tmp.h).
TEST_F(LibraryTest, DISABLED_DefaultSocketBody) {
  if (!test::InPrivateTmp()) GTEST_SKIP() << "run by FindsTheSimulatorOnItsDefaultSocketOnly";
  environment.Unset("QV70_SIM_SOCKET");
  // No USB instrument here: with nothing on the default socket the answer is no.
  environment.Set("ZVUSBSGL_CONF", dir.File("none.conf"));
  EXPECT_EQ(check(nullptr), 0);
  // A simulator where the session's runtime variable points is not the default one.
  environment.Set("XDG_RUNTIME_DIR", dir.path());
  SimProcess elsewhere;
  ASSERT_TRUE(elsewhere.Start({"--demo", "--socket", dir.File("qv70-sim.sock")}));
  environment.Unset("QV70_SIM_SOCKET");
  EXPECT_EQ(check(nullptr), 0);

  SimProcess local;
  ASSERT_TRUE(local.Start({"--demo"}, SimSocket::Default)) << local.Output();
  const std::string folder = "/tmp/qv70-" + std::to_string(getuid());
  ASSERT_EQ(local.Socket(), folder + "/qv70-sim.sock");
  EXPECT_EQ(check(nullptr), 1);
  int writePipe = open(0), readPipe = open(1);
  EXPECT_EQ(Transact(writePipe, readPipe, ":SET:STEP?\n"), "01\r\n");
  close(writePipe);
  close(readPipe);
  // Once anyone may write into the folder, nothing in it is believed.
  ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
  EXPECT_EQ(check(nullptr), 0);
  EXPECT_EQ(open(0), -1);
  ASSERT_EQ(chmod(folder.c_str(), 0700), 0);
  EXPECT_EQ(check(nullptr), 1);
  EXPECT_EQ(local.Stop(), 0);
  EXPECT_EQ(check(nullptr), 0);
}

TEST(LibraryDefaultSocket, FindsTheSimulatorOnItsDefaultSocketOnly) {
  test::RunInPrivateTmp("LibraryTest.DISABLED_DefaultSocketBody");
}

TEST_F(LibraryTest, DISABLED_UsbBackEndBody) {
  if (!test::InPrivateTmp()) GTEST_SKIP() << "run by UsbBackEndWithoutItsDeviceFindsNothing";
  environment.Unset("QV70_SIM_SOCKET");  // and no simulator on the default socket
  std::string conf = dir.File("ZvUsbSgl.conf");
  test::WriteWholeFile(conf, "vendor_id = 0xFFFF\nproduct_id = 0xFFFE\nread_timeout_ms = 200\n");
  environment.Set("ZVUSBSGL_CONF", conf);
  EXPECT_EQ(check(nullptr), 0);
  EXPECT_EQ(open(0), -1);
  EXPECT_EQ(open(1), -1);
}

TEST(LibraryUsbBackEnd, UsbBackEndWithoutItsDeviceFindsNothing) {
  test::RunInPrivateTmp("LibraryTest.DISABLED_UsbBackEndBody");
}

struct ImpostorCase {
  const char* name;
  bool simulatorAsNobody;  // else as this user
  bool socketToNobody;     // the socket file given to nobody, else to this user
  int check;
};

// Nobody else can pose as the instrument: the socket file must be this user's
// and the simulator behind it must run as this user (or root). Giving files
// and processes to another user (nobody) needs root.
TEST_F(LibraryTest, AnotherUsersSocketOrSimulatorIsNoInstrument) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give a socket or a simulator to the user nobody";
  constexpr uid_t kNobody = 65534;
  const ImpostorCase cases[] = {
      {"this user's simulator", false, false, 1},
      {"socket file of another user", false, true, 0},
      {"simulator run by another user", true, false, 0},
  };
  // A folder the other user can work in.
  TempDir shared;
  ASSERT_EQ(chmod(shared.path().c_str(), 01777), 0);
  for (const ImpostorCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = shared.File(std::string(c.name).substr(0, 6) + std::to_string(c.check) + ".sock");
    SimProcess local;
    if (c.simulatorAsNobody) local.SetLauncher({"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"});
    ASSERT_TRUE(local.Start({"--demo", "--socket", path, "--log", path + ".log"})) << local.Output();
    const uid_t owner = c.socketToNobody ? kNobody : getuid();
    ASSERT_EQ(chown(path.c_str(), owner, owner), 0);
    EXPECT_EQ(check(nullptr), c.check);
    int writePipe = open(0), readPipe = open(1);
    EXPECT_EQ(writePipe >= 0, c.check == 1);
    EXPECT_EQ(readPipe >= 0, c.check == 1);
    if (writePipe >= 0) close(writePipe);
    if (readPipe >= 0) close(readPipe);
  }
}

TEST_F(LibraryTest, WritesNothingToTheProgramsStreams) {
  StartSim({"--demo", "--fault", "absent"});
  std::string outPath = dir.File("stdout.txt"), errPath = dir.File("stderr.txt");
  pid_t child = fork();
  if (child == 0) {
    int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(err, 2);
    check(nullptr);
    open(0);
    unsetenv("QV70_SIM_SOCKET");
    setenv("ZVUSBSGL_CONF", "/nonexistent/ZvUsbSgl.conf", 1);
    check(nullptr);  // the USB back end, with a configuration that cannot be read
    open(0);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(test::ReadWholeFile(outPath), "");
  EXPECT_EQ(test::ReadWholeFile(errPath), "");
}

// A FIFO as the configuration would hang every presence check if it were
// opened; the library refuses it, says so once on standard error, and the
// defaults find no instrument. In a /tmp of its own, so no simulator is on
// the default socket.
TEST_F(LibraryTest, DISABLED_DamagedConfigurationBody) {
  if (!test::InPrivateTmp()) GTEST_SKIP() << "run by DamagedConfigurationIsToldOnceAndServesTheDefaults";
  environment.Unset("QV70_SIM_SOCKET");
  const std::string conf = dir.File("fifo.conf");
  ASSERT_EQ(mkfifo(conf.c_str(), 0644), 0);
  environment.Set("ZVUSBSGL_CONF", conf);
  const std::string errPath = dir.File("stderr.txt");
  pid_t child = fork();
  if (child == 0) {
    alarm(20);  // a hang ends the child, and the test fails
    int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(err, 2);
    const bool absent = check(nullptr) == 0 && check(nullptr) == 0 && open(0) == -1;
    _exit(absent ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(test::ReadWholeFile(errPath),
            "ZvUsbSgl.conf: " + conf + " is not a regular file; using the defaults\n");
}

TEST(LibraryDamagedConfiguration, DamagedConfigurationIsToldOnceAndServesTheDefaults) {
  test::RunInPrivateTmp("LibraryTest.DISABLED_DamagedConfigurationBody");
}

TEST_F(LibraryTest, ProgramSurvivesTheSimulatorEndingWhileThePipesAreOpen) {
  StartSim({"--demo"});
  pid_t child = fork();
  if (child == 0) {
    int writePipe = open(0), readPipe = open(1);
    if (writePipe < 0 || readPipe < 0) _exit(2);
    // Wait for the parent to end the simulator.
    char byte;
    if (::read(readPipe, &byte, 1) != 0) _exit(3);
    (void)!::write(writePipe, "*IDN?\n", 6);
    (void)!::write(writePipe, "*IDN?\n", 6);
    _exit(::read(readPipe, &byte, 1) <= 0 ? 0 : 4);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  sim.Stop(SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << "the program was killed by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(LibraryFile, ExportsExactlyTheTwoEntryPoints) {
  std::string command = "nm -D --defined-only '" + test::LibraryPath() + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::vector<std::string> names;
  char line[512];
  while (std::fgets(line, sizeof(line), pipe) != nullptr) {
    char type = 0;
    char name[400] = {};
    if (std::sscanf(line, "%*s %c %399s", &type, name) == 2 && (type == 'T' || type == 'D' || type == 'B'))
      names.push_back(name);
  }
  if (pclose(pipe) != 0) GTEST_SKIP() << "nm is not available";
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"CheckUSBDevices", "OpenUSBBulkFile"}));
}

// A dialog's end drops its last reference to the library while the USB back
// end's thread may still be finishing inside it; the library must stay mapped.
TEST(LibraryFile, StaysLoadedAfterItsLastClose) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const std::string path = test::LibraryPath();
    // Loaded by an earlier test and kept: that is the property itself.
    if (dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD) != nullptr) _exit(0);
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) _exit(3);
    dlclose(handle);
    _exit(dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD) != nullptr ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: unloaded by its last dlclose; 3: could not be loaded";
}

TEST(LibraryFile, ExampleConfigurationLiesBesideTheLibrary) {
  EXPECT_EQ(test::ReadWholeFile(std::string(QV70_BIN_DIR) + "/ZvUsbSgl.conf"),
            test::ReadWholeFile(std::string(QV70_SOURCE_DIR) + "/drivers/usbsgl/ZvUsbSgl.conf"));
}

}  // namespace
}  // namespace qv70::sim
