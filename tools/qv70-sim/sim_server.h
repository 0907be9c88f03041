#pragma once

#include <cstdio>
#include <deque>
#include <string>
#include <sys/types.h>
#include <vector>

namespace qv70::sim {

class Instrument;

// Serves the simulated instrument on a SOCK_SEQPACKET Unix socket, one program
// connection after another, in a single thread: presence probes are answered
// while a connection holds the pipes; commands are handled in the order they
// arrive; replies leave as packets of at most 64 bytes and an empty packet,
// queued so a slow reader never blocks the server. Only programs of the same
// user (or root) are served. The handshake is described in
// drivers/usbsgl/sim_link.h. Borrows the instrument and the log.
class SimServer {
 public:
  // `log` (may be null) receives every command, one per line, flushed at once.
  // `accepting` false: the socket listens but no connection is ever accepted
  // (a hung instrument stand-in); the queue holds one, later ones cannot connect.
  SimServer(Instrument& instrument, std::string socketPath, std::FILE* log, bool accepting = true);
  ~SimServer();
  SimServer(const SimServer&) = delete;
  SimServer& operator=(const SimServer&) = delete;

  // Creates the socket. False with a message when another simulator listens on
  // the path, the path is taken by something else or cannot be used.
  bool Start(std::string& error);
  // Serves until `stopFd` becomes readable (the signal handler writes to it).
  void Run(int stopFd);

  const std::string& SocketPath() const { return socketPath_; }

 private:
  struct Pending {
    int fd;
    long long acceptedMs;
  };
  // One packet of a reply and when it may leave (a dripping reply's are spaced).
  struct Packet {
    std::string bytes;
    long long dueMs;
  };
  // How long poll may sleep: until the next packet is due or a greeting expires.
  int PollTimeoutMs() const;
  void Accept();
  void Greet(Pending& pending);
  void ReadCommands();
  void FlushReplies();
  void CloseConnection();
  void Handle(const std::string& command);

  Instrument& instrument_;
  std::string socketPath_;
  std::FILE* log_;
  bool accepting_;
  int listenFd_ = -1;
  dev_t socketDevice_ = 0;
  ino_t socketInode_ = 0;
  std::vector<Pending> pending_;
  int connection_ = -1;
  std::string lineBuffer_;
  std::deque<Packet> outgoing_;
};

}  // namespace qv70::sim
