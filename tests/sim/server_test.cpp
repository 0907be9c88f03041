// The qv70-sim program: started from the build, driven over its socket.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "demo_memory.h"
#include "instrument.h"
#include "sim_link.h"
#include "support/private_tmp.h"
#include "support/sim_process.h"

namespace qv70::sim {
namespace {

using test::RawClient;
using test::SimProcess;
using test::TempDir;

class SimServerTest : public ::testing::Test {
 protected:
  void StartSim(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--socket", socket});
    ASSERT_TRUE(sim.Start(arguments)) << sim.Output();
  }
  usbsgl::SimAnswer Control(std::string_view message) {
    int fd = usbsgl::ConnectSeqpacket(socket);
    if (fd < 0) return usbsgl::SimAnswer::NoAnswer;
    usbsgl::SimAnswer answer = usbsgl::ExchangeControl(fd, message, 2000);
    close(fd);
    return answer;
  }

  TempDir dir;
  std::string socket = dir.File("sim.sock");
  SimProcess sim;
};

TEST_F(SimServerTest, RepliesArriveAsPacketsOfAtMost64BytesEndedByAnEmptyOne) {
  StartSim({"--demo", "--seed", "3"});
  InstrumentMemory memory = BuildDemoMemory(3);
  const std::pair<std::string, std::string> cases[] = {
      {":MEM:DATA? COUNT", CountReply(memory)},
      {":MEM:DATA? A0", RecordReply(memory.slots[0][0])},
      {":MEM:DATA? A2", RecordReply(memory.slots[0][2])},
      {":MEM:DATA? P9", RecordReply(memory.slots[9][9])},
      {":MEM:DATA? L0", LoggingReply(memory.sets[0])},
      {":MEM:DATA? L1", LoggingReply(memory.sets[1])},
      {"*IDN?", memory.idn + "\r\n"},
      {":SET:STEP?", memory.stepCode + "\r\n"},
  };
  RawClient client(socket);
  ASSERT_TRUE(client.Connected());
  for (const auto& [command, expected] : cases) {
    client.Send(command + "\n");
    bool complete = false;
    std::vector<std::string> packets = client.ReadPackets(3000, &complete);
    ASSERT_TRUE(complete) << command;
    std::string joined;
    for (size_t i = 0; i < packets.size(); ++i) {
      EXPECT_LE(packets[i].size(), 64u) << command;
      // Only the last packet is empty and only the one before it may be short.
      if (i + 2 < packets.size()) {
        EXPECT_EQ(packets[i].size(), 64u) << command << " packet " << i;
      }
      joined += packets[i];
    }
    EXPECT_TRUE(packets.back().empty()) << command;
    EXPECT_EQ(joined, expected) << command;
  }
}

TEST_F(SimServerTest, ServesConnectionsOneAfterAnotherAndKeepsWhatWasSet) {
  StartSim({"--demo"});
  {
    RawClient client(socket);
    EXPECT_EQ(client.Ask(":SET:PI 3, 12"), "OK\r\n");
    EXPECT_EQ(client.Ask(":SET:STEP 05"), "OK\r\n");
  }
  for (int round = 0; round < 20; ++round) {
    RawClient client(socket);
    ASSERT_EQ(client.Ask(":SET:PI?"), "03,12\r\n") << round;
    ASSERT_EQ(client.Ask(":SET:STEP?"), "05\r\n") << round;
  }
}

TEST_F(SimServerTest, LogsEveryCommandAsReceivedOnePerLine) {
  std::string log = dir.File("commands.log");
  StartSim({"--demo", "--log", log, "--fault", "hang::MEM:DATA? L"});
  RawClient client(socket);
  client.Ask(":MEM:DATA? COUNT");
  client.Ask("*IDN?\r");
  client.Send(":MEM:DATA? L2\n");  // never answered, still logged
  client.ReadPackets(200);
  client.Ask(":BOGUS COMMAND");
  // The log is flushed after every line, so it can be read while the simulator runs.
  EXPECT_EQ(test::ReadWholeFile(log), ":MEM:DATA? COUNT\n*IDN?\r\n:MEM:DATA? L2\n:BOGUS COMMAND\n");
}

TEST_F(SimServerTest, SeveralCommandsInOnePacketAreAnsweredInOrder) {
  StartSim({"--serial", "S-77"});
  RawClient client(socket);
  client.Send("*IDN?\n:SERIAL?\n");
  bool complete = false;
  std::vector<std::string> first = client.ReadPackets(2000, &complete);
  ASSERT_TRUE(complete);
  std::vector<std::string> second = client.ReadPackets(2000, &complete);
  ASSERT_TRUE(complete);
  EXPECT_EQ(first.front(), "ZAVEL ,QV70 ,Ver1.00\r\n");
  EXPECT_EQ(second.front(), "S-77\r\n");
  // A command split over two packets waits for its line feed.
  client.Send(":SET:");
  EXPECT_TRUE(client.ReadPackets(200).empty());
  client.Send("STEP?\n");
  std::vector<std::string> step = client.ReadPackets(2000, &complete);
  ASSERT_TRUE(complete);
  EXPECT_EQ(step.front(), "01\r\n");
}

TEST_F(SimServerTest, FaultsAsTheProgramSeesThem) {
  StartSim({"--demo", "--fault", "silent:*IDN?", "--fault", "nak::SET:PI", "--fault", "hang::MEM:DATA? L",
            "--fault", "garbage::SERIAL?", "--fault", "reply::MEM:DATA? A=X0,MN"});
  RawClient client(socket);
  bool complete = false;
  client.Send("*IDN?\n");
  std::vector<std::string> silent = client.ReadPackets(2000, &complete);
  EXPECT_TRUE(complete);
  EXPECT_EQ(silent, std::vector<std::string>{""});
  EXPECT_EQ(client.Ask(":SET:PI 2, 20"), "NG\r\n");
  EXPECT_EQ(client.Ask(":SET:PI?"), "NG\r\n");
  client.Send(":MEM:DATA? L0\n");
  EXPECT_TRUE(client.ReadPackets(300, &complete).empty());
  EXPECT_FALSE(complete);
  // After a hang the next command is answered as usual.
  EXPECT_EQ(client.Ask(":SET:STEP?"), "01\r\n");
  std::string garbage = client.Ask(":SERIAL?");
  EXPECT_FALSE(garbage.empty());
  EXPECT_EQ(garbage.find("09120345"), std::string::npos);
  EXPECT_EQ(client.Ask(":MEM:DATA? A7"), "X0,MN\r\n");
}

// The true reply, one byte per packet and interval, then the empty packet; a
// command sent meanwhile is answered after it.
TEST_F(SimServerTest, DripSendsTheReplyAByteAtATime) {
  StartSim({"--fault", "drip:*IDN?", "--drip-interval", "30"});
  RawClient client(socket);
  const auto start = std::chrono::steady_clock::now();
  client.Send("*IDN?\n:SET:STEP?\n");
  bool complete = false;
  std::vector<std::string> packets = client.ReadPackets(1000, &complete);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_TRUE(complete);
  const std::string reply = "ZAVEL ,QV70 ,Ver1.00\r\n";
  ASSERT_EQ(packets.size(), reply.size() + 1);
  for (size_t i = 0; i < reply.size(); ++i) EXPECT_EQ(packets[i], std::string(1, reply[i])) << i;
  EXPECT_GE(seconds, 0.030 * static_cast<double>(reply.size() + 1) - 0.01);
  EXPECT_EQ(client.ReadPackets(1000), (std::vector<std::string>{"01\r\n", ""}));
}

TEST_F(SimServerTest, HandshakeAnswersPresenceAndHandsOutThePipesOnce) {
  StartSim({});
  EXPECT_EQ(Control(usbsgl::kProbeMessage), usbsgl::SimAnswer::Present);
  int pipes = usbsgl::ConnectSeqpacket(socket);
  ASSERT_EQ(usbsgl::ExchangeControl(pipes, usbsgl::kOpenMessage, 2000), usbsgl::SimAnswer::Ready);
  // While a program holds the pipes, probes are still answered; a second open is refused.
  EXPECT_EQ(Control(usbsgl::kProbeMessage), usbsgl::SimAnswer::Present);
  EXPECT_EQ(Control(usbsgl::kOpenMessage), usbsgl::SimAnswer::Busy);
  close(pipes);
  // Closed pipes are free again at once.
  EXPECT_EQ(Control(usbsgl::kOpenMessage), usbsgl::SimAnswer::Ready);
}

// A program of another user cannot take the pipes and keep this user's
// program out. Running a client as another user (nobody) needs root.
TEST(SimClients, AnotherUsersProgramIsTurnedAway) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to connect as the user nobody";
  TempDir shared;
  ASSERT_EQ(chmod(shared.path().c_str(), 0755), 0);
  const std::string socket = shared.File("sim.sock");
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--demo", "--socket", socket})) << sim.Output();
  ASSERT_EQ(chmod(socket.c_str(), 0777), 0);
  const struct {
    const char* name;
    uid_t uid;
    usbsgl::SimAnswer answer;
  } rows[] = {{"nobody", 65534, usbsgl::SimAnswer::NoAnswer}, {"this user", getuid(), usbsgl::SimAnswer::Ready}};
  for (const auto& row : rows) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (setresgid(row.uid, row.uid, row.uid) != 0 || setresuid(row.uid, row.uid, row.uid) != 0) _exit(100);
      const int fd = usbsgl::ConnectSeqpacket(socket);
      if (fd < 0) _exit(101);
      _exit(static_cast<int>(usbsgl::ExchangeControl(fd, usbsgl::kOpenMessage, 2000)));
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << row.name;
    EXPECT_EQ(WEXITSTATUS(status), static_cast<int>(row.answer)) << row.name;
  }
}

TEST_F(SimServerTest, AbsentInstrumentIsNotFoundAndCannotBeOpened) {
  StartSim({"--demo", "--fault", "absent"});
  EXPECT_EQ(Control(usbsgl::kProbeMessage), usbsgl::SimAnswer::Absent);
  EXPECT_EQ(Control(usbsgl::kOpenMessage), usbsgl::SimAnswer::Absent);
  RawClient client(socket);
  EXPECT_EQ(client.Ask(":MEM:DATA? COUNT", 500), "");
}

TEST_F(SimServerTest, ProgramClosingInTheMiddleOfAReplyDoesNotStopTheServer) {
  StartSim({"--demo"});
  for (int round = 0; round < 5; ++round) {
    RawClient client(socket);
    for (int s = 0; s < 10; ++s) client.Send(":MEM:DATA? L" + std::to_string(s) + "\n");
  }  // closed with thousands of bytes unread
  RawClient client(socket);
  EXPECT_EQ(client.Ask(":SET:STEP?"), "01\r\n");
}

struct StopCase {
  const char* name;
  int signal;
};

TEST_F(SimServerTest, StopsCleanlyOnTermAndInterruptRemovingItsSocket) {
  for (StopCase c : {StopCase{"SIGTERM", SIGTERM}, StopCase{"SIGINT", SIGINT}}) {
    StartSim({"--demo"});
    RawClient holding(socket);  // a connected program does not keep it alive
    holding.Ask("*IDN?");
    EXPECT_EQ(sim.Stop(c.signal), 0) << c.name;
    EXPECT_NE(access(socket.c_str(), F_OK), 0) << c.name;
  }
}

TEST_F(SimServerTest, RefusesToStartWhereAnotherSimulatorListens) {
  StartSim({"--demo"});
  std::string output;
  EXPECT_EQ(test::RunSimToEnd({"--socket", socket}, output), 1);
  EXPECT_NE(output.find("another simulator is already listening on " + socket), std::string::npos) << output;
  // The first one is untouched and still serves.
  RawClient client(socket);
  EXPECT_EQ(client.Ask(":SET:STEP?"), "01\r\n");
}

TEST(SimStartup, ReplacesAStaleSocketButNeverAnotherFile) {
  TempDir dir;
  std::string stale = dir.File("stale.sock");
  int fd = socket(AF_UNIX, SOCK_SEQPACKET, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof(address.sun_path), "%s", stale.c_str());
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  close(fd);  // the socket file stays, with nobody listening
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--socket", stale}));
  EXPECT_EQ(RawClient(stale).Ask(":SET:STEP?"), "01\r\n");
  EXPECT_EQ(sim.Stop(), 0);

  std::string plain = dir.File("plain.txt");
  test::WriteWholeFile(plain, "keep me");
  std::string output;
  EXPECT_EQ(test::RunSimToEnd({"--socket", plain}, output), 1);
  EXPECT_NE(output.find("is not a socket"), std::string::npos) << output;
  EXPECT_EQ(test::ReadWholeFile(plain), "keep me");
}

// With no --socket it listens in the user's private folder, and only there;
// runs with a /tmp of its own (see private_tmp.h).
TEST(SimStartup, DISABLED_DefaultSocketBody) {
  if (!test::InPrivateTmp()) GTEST_SKIP() << "run by ListensInTheUsersPrivateFolderOnly";
  const std::string folder = "/tmp/qv70-" + std::to_string(getuid());
  std::string output;
  ASSERT_EQ(test::RunSimToEnd({"--print-socket"}, output), 0) << output;
  EXPECT_EQ(output, folder + "/qv70-sim.sock\n");
  EXPECT_NE(access(folder.c_str(), F_OK), 0) << "printing the path makes nothing";
  EXPECT_EQ(test::RunSimToEnd({"--socket", "/tmp/named.sock", "--print-socket"}, output), 0);
  EXPECT_EQ(output, "/tmp/named.sock\n");

  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--demo"}, test::SimSocket::Default)) << sim.Output();
  EXPECT_EQ(sim.Socket(), folder + "/qv70-sim.sock");
  struct stat info {};
  ASSERT_EQ(lstat(folder.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0700u);
  EXPECT_EQ(RawClient(sim.Socket()).Ask(":SET:STEP?"), "01\r\n");
  EXPECT_EQ(sim.Stop(), 0);

  // A folder others may use could hold anybody's socket: no default then.
  ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
  for (const char* argument : {"--demo", "--print-socket"}) {
    EXPECT_EQ(test::RunSimToEnd({argument}, output), 1) << argument;
    EXPECT_NE(output.find("qv70-sim: no default socket: " + folder + " is open to other users"), std::string::npos)
        << output;
  }
  // A socket named on the command line still serves.
  ASSERT_TRUE(sim.Start({"--demo"})) << sim.Output();
}

TEST(SimStartup, ListensInTheUsersPrivateFolderOnly) { test::RunInPrivateTmp("SimStartup.DISABLED_DefaultSocketBody"); }

struct RefusalCase {
  const char* name;
  std::vector<std::string> arguments;
  int status;
  const char* message;
};

TEST(SimStartup, ClearMessagesForBadCommandLines) {
  TempDir dir;
  const RefusalCase cases[] = {
      {"unknown option", {"--verbose"}, 2, "unknown option \"--verbose\""},
      {"missing value", {"--socket"}, 2, "--socket needs a value"},
      {"demo and load", {"--demo", "--load", "x.csv"}, 2, "cannot be used together"},
      {"bad seed", {"--demo", "--seed", "-4"}, 2, "--seed needs a whole number"},
      {"bad fault", {"--fault", "slow:*IDN?"}, 2, "unknown fault"},
      {"missing data file", {"--load", dir.File("none.csv")}, 1, "cannot read the data file"},
      {"unwritable log", {"--log", dir.File("no/such/dir/log.txt")}, 1, "cannot write the log file"},
      {"socket path too long", {"--socket", "/tmp/" + std::string(120, 'x')}, 1, "longer than"},
  };
  for (const RefusalCase& c : cases) {
    std::vector<std::string> arguments = c.arguments;
    if (std::string(c.name) != "socket path too long" && std::string(c.name) != "missing value") {
      arguments.insert(arguments.end(), {"--socket", dir.File("s.sock")});
    }
    std::string output;
    EXPECT_EQ(test::RunSimToEnd(arguments, output), c.status) << c.name;
    EXPECT_NE(output.find(c.message), std::string::npos) << c.name << ": " << output;
  }
}

TEST(SimStartup, LoadsADataFileAndServesIt) {
  TempDir dir;
  std::string file = dir.File("small.csv");
  test::WriteWholeFile(file,
                          "ZAVEL.QV70EN V2.01 \r\n\r\n0 datanum\r\n0;0;0;0;0;0;0;0;0;0;0;0;1;0;0;0;0;0;0;0\r\n\r\n"
                          "1 logging\r\n\r\n"
                          "No.;Test Type;Date;Time;Test Interval[sec];Temperature[C];Humidity[%RH];Set Voltage[V]\r\n"
                          "L2;LOGGING;2009-03-05;14:07:09;30;21,5;40,0;1000\r\n"
                          "Data No.;Date;Time;Output Voltage[V];Resistance[Ohm]\r\n"
                          "1;2009-03-05;14:07:39;1001;5000000000\r\n\r\n"
                          "2 manual\r\n\r\n3 Time\r\n\r\n4 IDN\r\nZAVEL ;QV70 ;Ver1.00\r\n\r\n"
                          "5 Serial Number\r\nSN9\r\n\r\n6 PI\r\nt1[min];t2[min]\r\n01;10\r\n\r\n"
                          "7 one step interval\r\n05;[min]\r\n");
  std::string socket = dir.File("sim.sock");
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--socket", socket, "--load", file, "--serial", "OVERRIDE"}));
  RawClient client(socket);
  EXPECT_EQ(client.Ask(":MEM:DATA? COUNT"), "0,0,0,0,0,0,0,0,0,0,0,0,1,0,0,0,0,0,0,0\r\n");
  EXPECT_EQ(client.Ask(":MEM:DATA? L2"), "L2,LOGGING,2009-03-05,14:07:09,30,21.5,40.0,1000,1001,5.0e+09\r\n");
  EXPECT_EQ(client.Ask("*IDN?"), "ZAVEL ,QV70 ,Ver1.00\r\n");
  EXPECT_EQ(client.Ask(":SERIAL?"), "OVERRIDE\r\n");
  EXPECT_EQ(client.Ask(":SET:STEP?"), "05\r\n");
}

}  // namespace
}  // namespace qv70::sim
