// Drive volume queries run on workers: a drive whose label or space query
// never returns must neither hold up the internal poll nor show old figures
// as current once it has been silent for five seconds.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "collector/data_logger.h"
#include "sim/fake_ports.h"

namespace {

// Drive E: hangs in both queries until Release; the others answer at once.
class THangingSystemInfo : public TFakeSystemInfo {
 public:
  // The workers run these at the same time; the fake underneath records
  // every call and is not made for that, so they take turns there.
  bool GetVolumeLabel(const std::string& ARoot, std::string& ALabel) override {
    Block(ARoot);
    std::lock_guard<std::mutex> lock(FBaseLock);
    return TFakeSystemInfo::GetVolumeLabel(ARoot, ALabel);
  }
  bool GetDiskSpace(const std::string& ARoot, int64_t& ATotal, int64_t& AFree) override {
    Block(ARoot);
    std::lock_guard<std::mutex> lock(FBaseLock);
    return TFakeSystemInfo::GetDiskSpace(ARoot, ATotal, AFree);
  }
  void SetSpace(size_t ADrive, int64_t ATotal, int64_t AFree) {
    std::lock_guard<std::mutex> lock(FBaseLock);
    Drives[ADrive].TotalSpace = ATotal;
    Drives[ADrive].FreeSpace = AFree;
  }
  void Hang(bool AValue) {
    std::lock_guard<std::mutex> lock(FLock);
    FHang = AValue;
    FChanged.notify_all();
  }
  std::atomic<int> EQueries{0};

 private:
  void Block(const std::string& ARoot) {
    if (ARoot != "E:\\") return;
    ++EQueries;
    std::unique_lock<std::mutex> lock(FLock);
    FChanged.wait(lock, [this] { return !FHang; });
  }
  std::mutex FLock, FBaseLock;
  std::condition_variable FChanged;
  bool FHang = false;
};

struct TVolumeFixture : ::testing::Test {
  TFakeCollector c;
  THangingSystemInfo info;
  TQD_ThreadWorker threads;
  std::unique_ptr<TQD_DataLogger> logger;

  void SetUp() override {
    info.Drives = {{true, 0, "C:\\", "System", 1000, 400, 600}, {false, 1, "E:\\", "Share", 2000, 500, 1500},
                   {true, 2, "F:\\", "Data", 3000, 1000, 2000}};
    TQD_CollectorPorts ports = c.Ports();
    ports.SystemInfo = &info;
    ports.Worker = &threads;
    c.Clock.Step = 3;  // every poll measures the same clock reads
    logger = std::make_unique<TQD_DataLogger>(ports, false, 60, 2000);
  }
  void TearDown() override {
    info.Hang(false);  // let the hung worker go before the port does
    logger.reset();
  }
  int32_t Poll() {
    logger->InternalPolling();
    return logger->LastInternalPollingDuration();
  }
};

}  // namespace

TEST_F(TVolumeFixture, HungDriveLeavesThePollAloneAndShowsDashAfterFiveSeconds) {
  const int32_t answered = Poll();

  info.Hang(true);
  info.Drives[1].TotalSpace = 9999;  // what E: would say if it answered
  // The poll that starts the hung query, and the next ones, return with the
  // same measured duration and E:'s last answer.
  EXPECT_EQ(Poll(), answered);
  EXPECT_EQ(Poll(), answered);
  EXPECT_EQ(logger->LogicalDrives()[2].TotalSpace, 2000);
  EXPECT_EQ(logger->LogicalDrives()[2].Name, "Share");
  EXPECT_EQ(logger->NumLogicalDrives(), 3);  // order and the other drives unchanged
  EXPECT_EQ(logger->LogicalDrives()[3].Letter, "F:\\");
  EXPECT_EQ(logger->LogicalDrives()[3].TotalSpace, 3000);
  // F: comes after E: in the hung task; the next poll's task skips E:.
  info.SetSpace(2, 3500, 1000);
  for (int i = 0; i < 100 && logger->LogicalDrives()[3].TotalSpace != 3500; ++i) Poll();
  EXPECT_EQ(logger->LogicalDrives()[3].TotalSpace, 3500);

  c.Clock.Now += TQD_VolumeQueries::kUnansweredMs;
  EXPECT_EQ(Poll(), answered);
  EXPECT_EQ(logger->LogicalDrives()[2].TotalSpace, -1);
  EXPECT_EQ(logger->FormatDiskTotalSpace(2), "-");
  EXPECT_EQ(logger->FormatDiskFreeSpace(2), "-");
  EXPECT_EQ(logger->FormatDiskUsedSpace(2), "-");
  EXPECT_EQ(logger->LogicalDrives()[2].Name, "Share");  // the label stays
  EXPECT_NE(logger->FormatDiskTotalSpace(1), "-");
  EXPECT_NE(logger->FormatDiskTotalSpace(3), "-");
}

TEST_F(TVolumeFixture, OneQueryInFlightPerDriveAndFreshFiguresOnceItAnswers) {
  Poll();
  info.Hang(true);
  const int before = info.EQueries;
  for (int i = 0; i < 5; ++i) Poll();
  EXPECT_EQ(info.EQueries - before, 1);  // asked once, not once per poll

  info.SetSpace(1, 4000, 1000);
  info.Hang(false);
  // The hung query answers in its own time; a later poll takes the answer.
  // Up to two seconds: on a loaded machine the worker may wait that long for
  // a core, and polls that start no task do not wait for it.
  for (int i = 0; i < 400 && logger->LogicalDrives()[2].TotalSpace != 4000; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    Poll();
  }
  EXPECT_EQ(logger->LogicalDrives()[2].TotalSpace, 4000);
  EXPECT_EQ(logger->LogicalDrives()[2].UsedSpace, 3000);
}

// At exit a query still hung is left running; once it returns, it must not
// go on to call into a port whose owner may already have destroyed it.
TEST_F(TVolumeFixture, AQueryLeftRunningAtExitCallsThePortNoMore) {
  Poll();
  info.Hang(true);
  const int before = info.EQueries;
  Poll();  // E:'s label query hangs
  while (info.EQueries == before) std::this_thread::yield();
  logger.reset();  // waits its while, then leaves E: running
  info.Hang(false);
  while (threads.ThreadsWaiting() < threads.ThreadsStarted()) std::this_thread::yield();  // the task is over
  EXPECT_EQ(info.EQueries - before, 1) << "E:'s space was asked after the logger had gone";
}

// The thread worker keeps finished threads for the next poll's queries, and
// still never makes a task wait behind a busy one.
TEST(ThreadWorker, ReusesWaitingThreadsAndNeverQueuesBehindABusyOne) {
  // Shared with the tasks: the hung one ends after the test does.
  struct TShared {
    std::mutex Lock;
    std::condition_variable Changed;
    int Done = 0;
    bool Release = false;
  };
  const auto shared = std::make_shared<TShared>();
  TQD_ThreadWorker worker;
  const auto waitFor = [](const std::function<bool()>& APred) {
    for (int i = 0; i < 1000 && !APred(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return APred();
  };
  const auto done = [shared] {
    std::lock_guard<std::mutex> l(shared->Lock);
    return shared->Done;
  };
  const auto quick = [shared] {
    std::lock_guard<std::mutex> l(shared->Lock);
    ++shared->Done;
  };
  // Three polls of three drives: the first starts at most three threads, the
  // others reuse them (one thread per task would make nine).
  for (int poll = 1; poll <= 3; ++poll) {
    for (int drive = 0; drive < 3; ++drive) worker.Run(quick);
    ASSERT_TRUE(waitFor([&] { return done() == 3 * poll && worker.ThreadsWaiting() == worker.ThreadsStarted(); }))
        << "poll " << poll;
  }
  EXPECT_LE(worker.ThreadsStarted(), 3);

  // A hung task holds its thread; the tasks after it all run meanwhile.
  worker.Run([shared] {
    std::unique_lock<std::mutex> l(shared->Lock);
    shared->Changed.wait(l, [&] { return shared->Release; });
  });
  for (int drive = 0; drive < 3; ++drive) worker.Run(quick);
  EXPECT_TRUE(waitFor([&] { return done() == 12; }));
  EXPECT_LE(worker.ThreadsStarted(), 4);
  std::lock_guard<std::mutex> l(shared->Lock);
  shared->Release = true;
  shared->Changed.notify_all();
}
