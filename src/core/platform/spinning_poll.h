#pragma once

// poll(2) for the waits of an exchange with the instrument. Header only, like
// the private folder: the instrument library (drivers/usbsgl), which links
// nothing of the core, and the simulator share it.
//
// During a download commands and replies follow one another within
// microseconds, and every party put to sleep for each of them costs a wake-up
// of tens of microseconds per exchange. A wait that would block therefore
// first looks again and again for a few tens of microseconds, where the
// machine has a processor to spare. Spinning only pays while the other side
// answers within it: on a busy machine the spinner takes the processor the
// other side needs, so after spins that ran out four times in a row the next
// waits sleep at once for a while (a few misses are only longer pauses, such
// as the program reading a long reply). An idle wait always sleeps.

#include <poll.h>
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
    if (timeoutMs != 0 && WorthSpinning()) {
      if (waitsWithoutSpin_ > 0) {
        --waitsWithoutSpin_;
      } else {
        const auto end = std::chrono::steady_clock::now() + spin_;
        do {
          const int ready = poll(fds, count, 0);
          if (ready != 0) {
            missesInARow_ = 0;
            return ready;
          }
        } while (std::chrono::steady_clock::now() < end);
        if (++missesInARow_ >= kMissesBeforeRest) {
          missesInARow_ = 0;
          waitsWithoutSpin_ = kWaitsWithoutSpinAfterMisses;
        }
      }
    }
    return poll(fds, count, timeoutMs);
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
