#pragma once

// poll(2) for the waits of an exchange with the instrument. Header only: the
// instrument library and the simulator (drivers/usbsgl, tools/qv70-sim), which
// link nothing of the core, share it with the program.
//
// During a download commands and replies follow one another within
// microseconds, and every party put to sleep for each of them costs a wake-up
// of tens of microseconds per exchange. A wait that would block therefore
// first looks again and again for a few tens of microseconds, where the
// machine has a processor to spare; an idle wait still sleeps.

#include <poll.h>
#include <unistd.h>

#include <chrono>

namespace qv70 {

inline constexpr int kSpinMicroseconds = 50;

// What poll(fds, count, 0) returns once it is not 0, or 0 when nothing
// happened within the spin (at once on a single processor).
inline int SpinUntilReady(pollfd* fds, nfds_t count) {
  static const bool worthSpinning = sysconf(_SC_NPROCESSORS_ONLN) > 1;
  const auto end = std::chrono::steady_clock::now() + std::chrono::microseconds(kSpinMicroseconds);
  do {
    const int ready = poll(fds, count, 0);
    if (ready != 0) return ready;
  } while (worthSpinning && std::chrono::steady_clock::now() < end);
  return 0;
}

// poll(fds, count, timeoutMs) after the spin.
inline int PollSpinningFirst(pollfd* fds, nfds_t count, int timeoutMs) {
  const int ready = timeoutMs == 0 ? 0 : SpinUntilReady(fds, count);
  return ready != 0 ? ready : poll(fds, count, timeoutMs);
}

}  // namespace qv70
