#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// How the library and qv70-sim meet. The simulator listens on a SOCK_SEQPACKET
// Unix socket; every connection opens with one control message, which starts
// with a NUL byte (no instrument command does):
//   "\0probe" -> the simulator answers "\0present" or "\0absent" and closes;
//                this is CheckUSBDevices.
//   "\0open"  -> "\0ready": the connection is now the instrument's pipes;
//                "\0absent": no instrument attached; "\0busy": another program
//                holds the pipes. The simulator closes after a refusal.
// After "\0ready" the program writes commands ending in a line feed and reads
// each reply as packets of at most 64 bytes followed by one empty packet.
// A connection whose first message is not a control message is taken as
// pipes at once, so a plain client (a test, socat) can talk to the simulator.
namespace qv70::usbsgl {

inline constexpr std::string_view kProbeMessage{"\0probe", 6};
inline constexpr std::string_view kOpenMessage{"\0open", 5};
inline constexpr std::string_view kPresentAnswer{"\0present", 8};
inline constexpr std::string_view kAbsentAnswer{"\0absent", 7};
inline constexpr std::string_view kReadyAnswer{"\0ready", 6};
inline constexpr std::string_view kBusyAnswer{"\0busy", 5};

// The largest packet of a reply: what one read of the program takes.
inline constexpr size_t kReplyPacketSize = 64;

// Environment variable naming the simulator's socket; it selects the simulator
// back end whatever else exists.
inline constexpr const char* kSimSocketVariable = "QV70_SIM_SOCKET";

// The simulator's default socket: qv70-sim.sock in the user's private folder
// (/run/user/<uid>, else /tmp/qv70-<uid>; see core/platform/private_folder.h).
struct DefaultSocket {
  std::string path;
  // Why that folder is not to be trusted (then there is no default socket), or empty.
  std::string problem;
};
// `createFolder`: make the private folder when it is missing (the simulator
// does; the library only looks).
DefaultSocket DefaultSimSocket(bool createFolder);

bool IsSocketFile(const std::string& path);

// Who may stand for the instrument: a socket file of this user (not a link to
// one), served by a process that runs as this user or as root. Anything else
// could be another user posing as the instrument.
bool IsOwnSocketFile(const std::string& path);
// The process at the other end of the connected socket `fd` runs as this user
// or as root (SO_PEERCRED).
bool PeerIsTrusted(int fd);

// The longest wait for a connection or a control answer, unless told otherwise.
inline constexpr int kControlTimeoutMs = 2000;

// A close-on-exec SOCK_SEQPACKET connection to `path`, or -1 (errno set). A
// listener that never accepts cannot hold the caller: after `timeoutMs` the
// attempt ends with ETIMEDOUT. The connection is returned blocking.
int ConnectSeqpacket(const std::string& path, int timeoutMs = kControlTimeoutMs);

enum class SimAnswer { Present, Absent, Ready, Busy, NoAnswer };

// Sends one control message on `fd` and waits at most `timeoutMs` for the answer.
SimAnswer ExchangeControl(int fd, std::string_view message, int timeoutMs);

// Sends `count` packets in order, many to a system call (sendmmsg), so a reply
// of many packets costs its reader one wake-up rather than one per packet.
// Returns how many went out: fewer when the socket is full (with MSG_DONTWAIT
// in `flags`) or the peer has gone, and errno tells which. Raises no SIGPIPE.
size_t SendPacketBatch(int fd, const std::string_view* packets, size_t count, int flags);

// Read and write time-outs on a connected socket (also on its duplicates, as
// they share the socket); 0 or less leaves them unlimited.
void SetSocketTimeouts(int fd, int timeoutMs);

}  // namespace qv70::usbsgl
