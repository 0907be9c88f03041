// UsbLink over the fake driver: call order, messages, library references and
// the reply loop with its bound.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/instrument/fake_usb_driver.h"
#include "core/instrument/messages.h"
#include "core/instrument/usb_link.h"
#include "core/platform/scripted_ui_services.h"

namespace qv70 {
namespace {

using namespace instrument_message;

struct LinkFixture {
  FakeUsbDriver driver;
  ScriptedUiServices ui;
  UsbLink link{driver, ui};
  std::vector<char> reply = std::vector<char>(kReplyBufferSize + 16, '#');

  std::string Exchange(const std::string& command) {
    link.Transact(command.c_str(), static_cast<int>(command.size()), reply.data());
    return std::string(reply.data());
  }
};

TEST(UsbLinkCheck, OutcomesMessagesAndReferences) {
  struct Row {
    const char* name;
    bool library, exportPresent;
    int result;
    int expected;
    int referencesAfter;
  } rows[] = {
      {"attached", true, true, 1, 1, 1},
      {"not attached", true, true, 0, 0, 0},
      {"result 2 is not success", true, true, 2, 0, 0},
      {"result -1", true, true, -1, 0, 0},
      {"export missing", true, false, 1, 0, 0},
      {"library missing", false, true, 1, 0, 0},
  };
  for (const Row& row : rows) {
    LinkFixture f;
    f.driver.libraryPresent = row.library;
    f.driver.hasCheckExport = row.exportPresent;
    f.driver.checkResult = row.result;
    EXPECT_EQ(f.link.CheckInstrument(), row.expected) << row.name;
    EXPECT_EQ(f.driver.references, row.referencesAfter) << row.name;
    EXPECT_EQ(f.driver.openPipes, 0) << row.name;
    if (row.expected == 1) {
      EXPECT_TRUE(f.ui.messages.empty()) << row.name;
    } else {
      ASSERT_EQ(f.ui.messages.size(), 1u) << row.name;
      EXPECT_EQ(f.ui.messages[0].text, kNoInstrument) << row.name;
      EXPECT_EQ(f.ui.messages[0].caption, kWarningCaption) << row.name;
      EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::Warning) << row.name;
    }
  }
}

TEST(UsbLinkOpen, BothPipesAskedForAndFailuresReleased) {
  struct Row {
    const char* name;
    bool exportPresent;
    int writePipe, readPipe;
    int expected;
    std::vector<std::string> calls;
  } rows[] = {
      {"both open", true, 3, 4, 1, {"acquire", "open 0", "open 1"}},
      {"write fails, read still asked, read closed again", true, kInvalidPipe, 4, 0,
       {"acquire", "open 0", "open 1", "close 4", "release"}},
      {"read fails, write closed again", true, 3, kInvalidPipe, 0,
       {"acquire", "open 0", "open 1", "close 3", "release"}},
      {"both fail", true, kInvalidPipe, kInvalidPipe, 0, {"acquire", "open 0", "open 1", "release"}},
      {"export missing", false, 3, 4, 0, {"acquire", "open 0", "release"}},
  };
  for (const Row& row : rows) {
    LinkFixture f;
    f.driver.hasOpenExport = row.exportPresent;
    f.driver.writePipeResult = row.writePipe;
    f.driver.readPipeResult = row.readPipe;
    EXPECT_EQ(f.link.OpenPipes(), row.expected) << row.name;
    EXPECT_EQ(f.driver.calls, row.calls) << row.name;
    EXPECT_EQ(f.driver.references, row.expected) << row.name;
    EXPECT_EQ(f.driver.openPipes, row.expected ? 2 : 0) << row.name;
    EXPECT_EQ(f.link.PipesOpen(), row.expected == 1) << row.name;
    if (row.expected == 0) {
      ASSERT_EQ(f.ui.messages.size(), 1u) << row.name;
      EXPECT_EQ(f.ui.messages[0].text, kEquipmentUnusual) << row.name;
      EXPECT_EQ(f.ui.messages[0].caption, kWarningCaption) << row.name;
      EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::Warning) << row.name;
    } else {
      EXPECT_TRUE(f.ui.messages.empty()) << row.name;
    }
  }
}

TEST(UsbLinkOpen, LibraryMissingShowsTheOpenMessage) {
  LinkFixture f;
  f.driver.libraryPresent = false;
  EXPECT_EQ(f.link.OpenPipes(), 0);
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0].text, kEquipmentUnusual);
}

TEST(UsbLinkClose, WriteThenReadOnceOnly) {
  LinkFixture f;
  ASSERT_EQ(f.link.OpenPipes(), 1);
  f.link.ClosePipes();
  f.link.ClosePipes();
  std::vector<std::string> expected = {"acquire", "open 0", "open 1", "close 3", "close 4"};
  EXPECT_EQ(f.driver.calls, expected);
  EXPECT_EQ(f.driver.openPipes, 0);
  EXPECT_FALSE(f.link.PipesOpen());
  // The library stays loaded after a successful open.
  EXPECT_EQ(f.driver.references, 1);
}

TEST(UsbLinkTransact, ReplyAssemblyAcrossChunks) {
  struct Row {
    const char* name;
    size_t replyLength;
    size_t chunkSize;
    int expectedReads;
  } rows[] = {
      {"empty reply", 0, 64, 1},
      {"short reply", 10, 64, 2},
      {"exactly one chunk", 64, 64, 2},
      {"64, 64 and 10", 138, 64, 4},
      {"short chunks do not end it", 100, 7, 16},
      {"largest that fits", kReplyBufferSize - 1, 64, 158},
  };
  for (const Row& row : rows) {
    LinkFixture f;
    std::string sent(row.replyLength, 'x');
    for (size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<char>('a' + i % 26);
    f.driver.chunkSize = row.chunkSize;
    f.driver.respond = [&](const std::string&) { return sent; };
    ASSERT_EQ(f.link.OpenPipes(), 1);
    std::string got = f.Exchange(":SET:PI?\n");
    EXPECT_EQ(got, sent) << row.name;
    EXPECT_EQ(f.driver.readCalls, row.expectedReads) << row.name;
    EXPECT_FALSE(f.link.LastReplyOverflowed()) << row.name;
  }
}

TEST(UsbLinkTransact, OverlongReplyIsDrainedAndGivenAsEmpty) {
  for (size_t length : {kReplyBufferSize, kReplyBufferSize + 1, kReplyBufferSize * 3}) {
    LinkFixture f;
    f.driver.respond = [&](const std::string& command) {
      return command == "big\n" ? std::string(length, 'z') : std::string("OK\r\n");
    };
    ASSERT_EQ(f.link.OpenPipes(), 1);
    EXPECT_EQ(f.Exchange("big\n"), "") << length;
    EXPECT_TRUE(f.link.LastReplyOverflowed()) << length;
    EXPECT_EQ(f.link.LastReplyBytes(), static_cast<long>(length)) << length;
    // Nothing past the buffer was touched.
    for (size_t i = kReplyBufferSize; i < f.reply.size(); ++i) ASSERT_EQ(f.reply[i], '#') << length;
    // The next exchange starts clean.
    EXPECT_EQ(f.Exchange("next\n"), "OK\r\n") << length;
  }
}

TEST(UsbLinkTransact, WritesExactBytesAndFailedReadsEndTheReply) {
  LinkFixture f;
  f.driver.respond = [](const std::string&) { return std::string("OK\r\n"); };
  ASSERT_EQ(f.link.OpenPipes(), 1);
  std::string clock = ":TIME 2009, 03, 05, 14, 07, 09\n";
  f.Exchange(clock);
  ASSERT_EQ(f.driver.written.size(), 1u);
  EXPECT_EQ(f.driver.written[0], clock);
  EXPECT_EQ(f.driver.written[0].size(), 31u);

  f.driver.readsFail = true;
  EXPECT_EQ(f.Exchange(":SET:PI?\n"), "");
  EXPECT_EQ(f.driver.written.size(), 2u);
}

}  // namespace
}  // namespace qv70

#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>

namespace qv70 {
namespace {

// The real driver's reads on descriptors that never deliver: a descriptor
// with its own receive time-out uses it, any other one the driver's backstop.
TEST(DlopenDriverRead, SilentDescriptorsEndWithinTheirTimeOut) {
  struct Row {
    const char* name;
    bool socketWithTimeout;
    int backstopMs;
  } rows[] = {{"plain pipe, backstop", false, 150}, {"socket with its own time-out", true, -1}};
  for (const Row& row : rows) {
    int fds[2];
    if (row.socketWithTimeout) {
      ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET, 0, fds), 0);
      timeval limit{0, 150000};
      ASSERT_EQ(setsockopt(fds[0], SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit), 0);
    } else {
      ASSERT_EQ(pipe(fds), 0);
    }
    DlopenUsbDriver driver("/nonexistent/" + std::string(kUsbLibraryName), row.backstopMs);
    char buffer[64];
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(driver.Read(fds[0], buffer, sizeof buffer), 0) << row.name;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(seconds, 0.1) << row.name;
    EXPECT_LT(seconds, 1.0) << row.name;
    // Data that is there is delivered at once.
    ASSERT_EQ(write(fds[1], "OK\r\n", 4), 4);
    EXPECT_EQ(driver.Read(fds[0], buffer, sizeof buffer), 4) << row.name;
    driver.Close(fds[0]);
    close(fds[1]);
  }
}

}  // namespace
}  // namespace qv70
