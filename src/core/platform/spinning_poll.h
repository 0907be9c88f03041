#pragma once

// poll(2) for the waits of an exchange with the instrument. Header only, like
// the private folder: the instrument library (drivers/usbsgl), which links
// nothing of the core, and the simulator share it.
//
// During a download commands and replies follow one another within
// microseconds, and every party put to sleep for each of them costs a wake-up
// of tens of microseconds per exchange (more on a virtual machine, whose idle
// processors halt). A wait that would block therefore first looks again and
// again for up to a few hundred microseconds, where the machine has a
// processor to spare, handing the processor over between looks: the program,
// the library's relay and the simulator may all wait at once on fewer
// processors, and the one about to answer must get one. Spinning only pays
// while the other side answers within it: on a busy machine the spinner takes
// time the other side needs, so after spins that ran out four times in a row
// the next waits sleep at once for a while (a few misses are only longer
// pauses, such as the program reading a long reply). An idle wait always
// sleeps.

#include <poll.h>
#include <sched.h>
#include <unistd.h>

#include <chrono>

namespace qv70 {

class SpinningPoll {
 public:
  // Spins in a row that ran out before the waits sleep at once, and for how many.
  static constexpr int kMissesBeforeRest = 4;
  static constexpr int kWaitsWithoutSpinAfterMisses = 16;

  explicit SpinningPoll(int spinMicroseconds) : spin_(spinMicroseconds) {}

  // poll(fds, count, timeoutMs), spinning first as above.
  int Poll(pollfd* fds, nfds_t count, int timeoutMs) {
    if (timeoutMs != 0) {
      const int ready = Spin(fds, count);
      if (ready != 0) return ready;
    }
    return poll(fds, count, timeoutMs);
  }

  // Only the spin: poll's answer once something is ready (or poll failed), 0
  // when the spin ran out or was not worth it. For a wait that then blocks
  // in a call of its own, such as a read with a receive time-out.
  int Spin(pollfd* fds, nfds_t count) {
    if (!WorthSpinning()) return 0;
    if (waitsWithoutSpin_ > 0) {
      --waitsWithoutSpin_;
      return 0;
    }
    const auto end = std::chrono::steady_clock::now() + spin_;
    for (;;) {
      const int ready = poll(fds, count, 0);
      if (ready != 0) {
        missesInARow_ = 0;
        return ready;
      }
      if (std::chrono::steady_clock::now() >= end) break;
      sched_yield();
    }
    if (++missesInARow_ >= kMissesBeforeRest) {
      missesInARow_ = 0;
      waitsWithoutSpin_ = kWaitsWithoutSpinAfterMisses;
    }
    return 0;
  }

 private:
  static bool WorthSpinning() {
    static const bool manyProcessors = sysconf(_SC_NPROCESSORS_ONLN) > 1;
    return manyProcessors;
  }

  std::chrono::microseconds spin_;
  int missesInARow_ = 0;
  int waitsWithoutSpin_ = 0;
};

}  // namespace qv70
