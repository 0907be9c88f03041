// A full download of the demo instrument (10 groups of 10 records, 10 logging
// sets of 360 samples, the four information queries) as the Obtain Data dialog
// runs it: UsbLink over libZvUsbSgl.so and qv70-sim, the reply parsers and
// FinishDownload. Baseline in the same run: the same bytes exchanged over a raw
// socket pair served by a thread, with no parsing at all. Two more runs split
// the difference: the link alone (transport) and the parsing alone (in memory).
// qv70-sim and the library are found beside this program.

#include <benchmark/benchmark.h>

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/data/record_tables.h"
#include "core/instrument/download_job.h"
#include "core/instrument/fake_usb_driver.h"
#include "core/instrument/usb_driver.h"
#include "core/instrument/usb_link.h"
#include "core/platform/environment.h"
#include "core/platform/scripted_ui_services.h"
#include "ratio_reporter.h"
#include "support/sim_process.h"

namespace qv70 {
namespace {

// The demo simulator, started once for the whole program.
class DemoSimulator {
 public:
  DemoSimulator() { ready_ = test::SimMissing().empty() && process_.Start({"--demo"}); }
  bool Ready() const { return ready_; }

 private:
  test::SimProcess process_;
  bool ready_ = false;
};

DemoSimulator& Simulator() {
  static DemoSimulator simulator;
  return simulator;
}

// The real driver, remembering every command and reply of one download.
class RecordingDriver : public DlopenUsbDriver {
 public:
  using DlopenUsbDriver::DlopenUsbDriver;
  long Write(int pipe, const char* data, std::size_t length) override {
    exchanges.emplace_back(std::string(data, length), std::string());
    return DlopenUsbDriver::Write(pipe, data, length);
  }
  long Read(int pipe, char* buffer, std::size_t capacity) override {
    long got = DlopenUsbDriver::Read(pipe, buffer, capacity);
    if (got > 0 && !exchanges.empty()) exchanges.back().second.append(buffer, static_cast<size_t>(got));
    return got;
  }
  std::vector<std::pair<std::string, std::string>> exchanges;
};

// Count query, every box ticked, download: false when anything failed.
bool FullDownload(UsbDriver& driver, RecordTables& tables) {
  ScriptedUiServices ui;
  UsbLink link(driver, ui);
  DownloadJob job(link, tables, ui);
  if (job.SelectData() != DownloadJob::Outcome::Stay || !job.Counted()) return false;
  for (int i = 0; i < DownloadJob::kBoxCount; ++i) job.SetBoxTicked(i, true);
  DownloadJob::Outcome outcome = job.ObtainData();
  job.Finish();
  return outcome == DownloadJob::Outcome::Downloaded;
}

// One full download through `recorder`, so a benchmark can replay its
// exchanges; false (the benchmark marked skipped) when it could not be made.
bool RecordOneDownload(benchmark::State& state, RecordingDriver& recorder) {
  if (!Simulator().Ready()) {
    state.SkipWithError("qv70-sim or libZvUsbSgl.so not found beside the benchmark");
    return false;
  }
  auto tables = std::make_unique<RecordTables>();
  if (!FullDownload(recorder, *tables)) {
    state.SkipWithError("the recording download failed");
    return false;
  }
  return true;
}

void BM_FullDownloadThroughLinkAndSimulator(benchmark::State& state) {
  if (!Simulator().Ready()) {
    state.SkipWithError("qv70-sim or libZvUsbSgl.so not found beside the benchmark");
    return;
  }
  DlopenUsbDriver driver(DlopenUsbDriver::DefaultLibraryPath());
  auto tables = std::make_unique<RecordTables>();
  for (auto _ : state) {
    if (!FullDownload(driver, *tables)) {
      state.SkipWithError("the download failed");
      return;
    }
  }
  int samples = 0;
  for (int count : tables->sampleCount) samples += count;
  state.counters["samples"] = samples;
}
BENCHMARK(BM_FullDownloadThroughLinkAndSimulator)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// One exchange over the raw pair: the command, then 64-byte reads until an empty one.
size_t RawExchange(int fd, const std::string& command) {
  (void)!write(fd, command.data(), command.size());
  size_t total = 0;
  char chunk[64];
  for (ssize_t got; (got = read(fd, chunk, sizeof chunk)) > 0;) total += static_cast<size_t>(got);
  return total;
}

using Exchanges = std::vector<std::pair<std::string, std::string>>;

// Answers each recorded command on `fd` with its reply in 64-byte packets and
// the empty one, as fast as the socket takes them.
void ServeRecorded(int fd, const Exchanges& exchanges) {
  char command[256];
  for (const auto& exchange : exchanges) {
    if (recv(fd, command, sizeof command, 0) <= 0) return;
    const std::string& reply = exchange.second;
    for (size_t offset = 0; offset < reply.size(); offset += 64) {
      send(fd, reply.data() + offset, std::min<size_t>(64, reply.size() - offset), MSG_NOSIGNAL);
    }
    send(fd, nullptr, 0, MSG_NOSIGNAL);
  }
}

void BM_SameBytesOverRawSocketPair(benchmark::State& state) {
  RecordingDriver recorder(DlopenUsbDriver::DefaultLibraryPath());
  if (!RecordOneDownload(state, recorder)) return;
  const auto& exchanges = recorder.exchanges;
  size_t bytes = 0;
  for (auto _ : state) {
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_SEQPACKET, 0, pair) != 0) {
      state.SkipWithError("socketpair failed");
      return;
    }
    std::thread server(ServeRecorded, pair[1], std::cref(exchanges));
    bytes = 0;
    for (const auto& exchange : exchanges) bytes += RawExchange(pair[0], exchange.first);
    server.join();
    close(pair[0]);
    close(pair[1]);
  }
  state.counters["exchanges"] = static_cast<double>(exchanges.size());
  state.counters["reply_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SameBytesOverRawSocketPair)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The least any relay between the program and an instrument in another thread
// can cost: the raw pair's server behind a thread that forwards each command
// and each packet the moment it comes, with no time limits and no whole-reply
// rule. Two hand-offs more per exchange than the raw pair, as in the library.
void BM_SameBytesThroughBareRelay(benchmark::State& state) {
  RecordingDriver recorder(DlopenUsbDriver::DefaultLibraryPath());
  if (!RecordOneDownload(state, recorder)) return;
  const Exchanges& exchanges = recorder.exchanges;
  for (auto _ : state) {
    int program[2], instrument[2];
    if (socketpair(AF_UNIX, SOCK_SEQPACKET, 0, program) != 0 ||
        socketpair(AF_UNIX, SOCK_SEQPACKET, 0, instrument) != 0) {
      state.SkipWithError("socketpair failed");
      return;
    }
    std::thread server(ServeRecorded, instrument[1], std::cref(exchanges));
    std::thread relay([&] {
      char packet[4096];
      for (size_t i = 0; i < exchanges.size(); ++i) {
        ssize_t got = recv(program[1], packet, sizeof packet, 0);
        if (got <= 0 || send(instrument[0], packet, static_cast<size_t>(got), MSG_NOSIGNAL) != got) return;
        do {
          got = recv(instrument[0], packet, sizeof packet, 0);
          if (got < 0 || send(program[1], packet, static_cast<size_t>(got), MSG_NOSIGNAL) != got) return;
        } while (got > 0);
      }
    });
    for (const auto& exchange : exchanges) RawExchange(program[0], exchange.first);
    relay.join();
    server.join();
    for (int fd : {program[0], program[1], instrument[0], instrument[1]}) close(fd);
  }
}
BENCHMARK(BM_SameBytesThroughBareRelay)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The same commands through UsbLink, the library and the simulator, with the
// replies only read: the transport's share of the full download.
void BM_SameCommandsThroughLinkOnly(benchmark::State& state) {
  RecordingDriver recorder(DlopenUsbDriver::DefaultLibraryPath());
  if (!RecordOneDownload(state, recorder)) return;
  DlopenUsbDriver driver(DlopenUsbDriver::DefaultLibraryPath());
  ScriptedUiServices ui;
  UsbLink link(driver, ui);
  std::vector<char> reply(kReplyBufferSize);
  for (auto _ : state) {
    if (!link.CheckInstrument() || !link.OpenPipes()) {
      state.SkipWithError("no instrument");
      return;
    }
    for (const auto& exchange : recorder.exchanges) {
      link.Transact(exchange.first.c_str(), static_cast<int>(exchange.first.size()), reply.data());
    }
    link.ClosePipes();
  }
}
BENCHMARK(BM_SameCommandsThroughLinkOnly)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The same replies handed over in memory: what the parsing and FinishDownload
// cost on their own, without any transport.
void BM_SameRepliesParsedInMemory(benchmark::State& state) {
  RecordingDriver recorder(DlopenUsbDriver::DefaultLibraryPath());
  if (!RecordOneDownload(state, recorder)) return;
  auto tables = std::make_unique<RecordTables>();
  FakeUsbDriver memory;
  std::size_t next = 0;
  memory.respond = [&](const std::string&) { return recorder.exchanges[next++ % recorder.exchanges.size()].second; };
  for (auto _ : state) {
    next = 0;
    if (!FullDownload(memory, *tables)) {
      state.SkipWithError("the download failed");
      return;
    }
  }
}
BENCHMARK(BM_SameRepliesParsedInMemory)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
}  // namespace qv70

QV70_BENCHMARK_MAIN_WITH_RATIOS({"BM_FullDownloadThroughLinkAndSimulator/min_time:1.000",
                                 "BM_SameBytesOverRawSocketPair/min_time:1.000"},
                                {"BM_SameCommandsThroughLinkOnly/min_time:1.000",
                                 "BM_SameBytesOverRawSocketPair/min_time:1.000"},
                                {"BM_SameBytesThroughBareRelay/min_time:1.000",
                                 "BM_SameBytesOverRawSocketPair/min_time:1.000"})
