#include "core/platform/spinning_poll.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace qv70 {
namespace {

class SpinningPollTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET, 0, pair_), 0); }
  void TearDown() override {
    close(pair_[0]);
    close(pair_[1]);
  }
  // How long a wait for pair_[0] took in milliseconds, and what it returned.
  double TimedWait(SpinningPoll& waits, int timeoutMs, int& ready) {
    pollfd entry{pair_[0], POLLIN, 0};
    const auto start = std::chrono::steady_clock::now();
    ready = waits.Poll(&entry, 1, timeoutMs);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
  int pair_[2];
};

// Spinning, resting after misses or neither, a wait keeps poll's answer and
// its time-out: a packet is seen at once, silence lasts the whole time-out.
TEST_F(SpinningPollTest, KeepsPollsAnswersAndTimeOutsThroughMissesAndRests) {
  SpinningPoll waits(200);
  int ready = -1;
  EXPECT_LT(TimedWait(waits, 0, ready), 5.0);
  EXPECT_EQ(ready, 0);
  for (int wait = 0; wait < SpinningPoll::kMissesBeforeRest + 2; ++wait) {
    EXPECT_GE(TimedWait(waits, 15, ready), 14.0) << "wait " << wait;
    EXPECT_EQ(ready, 0);
  }
  ASSERT_EQ(send(pair_[1], "x", 1, 0), 1);
  for (int wait = 0; wait < 3; ++wait) {
    EXPECT_LT(TimedWait(waits, 5000, ready), 1000.0);
    EXPECT_EQ(ready, 1);
  }
}

// A spin alone (before a read that blocks by itself) never sleeps: silence
// gives 0 after at most the spin, through misses and rests; a packet is seen.
TEST_F(SpinningPollTest, SpinAloneReturnsWithoutSleeping) {
  SpinningPoll waits(200);
  pollfd entry{pair_[0], POLLIN, 0};
  for (int spin = 0; spin < SpinningPoll::kMissesBeforeRest + 2; ++spin) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(waits.Spin(&entry, 1), 0) << "spin " << spin;
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took.count(), 100.0);
  }
  ASSERT_EQ(send(pair_[1], "x", 1, 0), 1);
  SpinningPoll fresh(200);
  EXPECT_EQ(fresh.Spin(&entry, 1), 1);
}

}  // namespace
}  // namespace qv70
