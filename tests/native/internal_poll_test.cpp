// The data logger's internal poll: RAM, logical drives and network counters,
// its status, and the rebuild requests its polling-done event carries.
#include <gtest/gtest.h>

#include <vector>

#include "collector/data_logger.h"
#include "sim/fake_ports.h"

namespace {

struct TEvent {
  bool RebuildDrives;
  bool RebuildNetwork;
  int NumLogicalDrives;  // as the handler sees it
};

TQD_DRVMTR_ALogicalDrive Drive(const char* ALetter, bool AFixed = true, const char* ALabel = "",
                               int64_t ATotal = 1000, int64_t AFree = 250) {
  TQD_DRVMTR_ALogicalDrive d;
  d.Letter = ALetter;
  d.Fixed = AFixed;
  d.Name = ALabel;
  d.TotalSpace = ATotal;
  d.FreeSpace = AFree;
  return d;
}

// A data logger over fakes whose internal poll records every event.
struct TPollFixture : ::testing::Test {
  TFakeCollector c;
  std::unique_ptr<TQD_DataLogger> logger;
  std::vector<TEvent> events;

  void Create() {
    logger = std::make_unique<TQD_DataLogger>(c.Ports(), false, 60, 2000);
    logger->OnInternalPollingDone = [this](TQD_DataLogger& ASender, bool ADrives, bool ANetwork) {
      events.push_back({ADrives, ANetwork, ASender.NumLogicalDrives()});
    };
  }
  // The internal timer is the first one the data logger creates.
  TFakeTimer& InternalTimer() { return *c.Timers.Created.at(0); }
  TEvent Tick() {
    const size_t n = events.size();
    InternalTimer().Tick();
    EXPECT_EQ(events.size(), n + 1);
    return events.empty() ? TEvent{} : events.back();
  }
};

}  // namespace

TEST_F(TPollFixture, RebuildDrivesForExactlyOneEventPerChange) {
  c.SystemInfo.Drives = {Drive("C:\\")};
  c.Network.Rows = {MakeIFRow(1, true)};
  Create();
  EXPECT_EQ(logger->LastInternalPollingStatus(), insNotPolled);
  EXPECT_FALSE(Tick().RebuildDrives);
  EXPECT_EQ(logger->LastInternalPollingStatus(), insOK);

  c.SystemInfo.Drives.push_back(Drive("F:\\"));  // a USB stick, and the system says so
  logger->DrivesChanged();
  TEvent e = Tick();
  EXPECT_TRUE(e.RebuildDrives);
  EXPECT_FALSE(e.RebuildNetwork);
  EXPECT_EQ(e.NumLogicalDrives, 2);  // the list is complete when the event fires
  EXPECT_FALSE(Tick().RebuildDrives);

  // Same count with another letter is no change in count.
  c.SystemInfo.Drives[1] = Drive("G:\\");
  logger->DrivesChanged();
  EXPECT_FALSE(Tick().RebuildDrives);
  EXPECT_EQ(logger->LogicalDrives()[2].Letter, "G:\\");

  // A drive that goes unannounced is seen at the next reading of the list.
  c.SystemInfo.Drives.pop_back();
  EXPECT_FALSE(Tick().RebuildDrives);
  c.Clock.Now += TQD_VolumeQueries::kListRefreshMs;
  EXPECT_TRUE(Tick().RebuildDrives);
  EXPECT_FALSE(Tick().RebuildDrives);
}

// Between readings of the drive list a poll asks each drive's space only;
// the list, types and labels are read again when the system says drives
// changed or kListRefreshMs after the last reading.
TEST_F(TPollFixture, DriveSpaceEveryPollListAndLabelsWhenDue) {
  c.SystemInfo.Drives = {Drive("C:\\", true, "System", 100, 40)};
  Create();
  c.SystemInfo.QueriedRoots.clear();
  c.SystemInfo.Drives[0].Name = "Renamed";
  c.SystemInfo.Drives[0].FreeSpace = 30;
  Tick();
  EXPECT_EQ(c.SystemInfo.QueriedRoots, std::vector<std::string>{"C:\\"});  // space only
  EXPECT_EQ(logger->LogicalDrives()[1].FreeSpace, 30);
  EXPECT_EQ(logger->LogicalDrives()[1].Name, "System");
  EXPECT_TRUE(logger->LogicalDrives()[1].Fixed);

  c.Clock.Now += TQD_VolumeQueries::kListRefreshMs;
  Tick();
  EXPECT_EQ(logger->LogicalDrives()[1].Name, "Renamed");
  c.SystemInfo.Drives[0].Name = "Again";
  logger->DrivesChanged();
  Tick();
  EXPECT_EQ(logger->LogicalDrives()[1].Name, "Again");
  EXPECT_EQ(c.SystemInfo.QueriedRoots.size(), 5u);  // 1 + 2 + 2
}

TEST_F(TPollFixture, RebuildNetworkForExactlyOneEventPerUpOrDown) {
  c.SystemInfo.Drives = {Drive("C:\\")};
  c.Network.Rows = {MakeIFRow(1, true), MakeIFRow(2, false)};
  Create();
  EXPECT_FALSE(Tick().RebuildNetwork);

  c.Network.Rows[1].OperStatus = 1;
  TEvent e = Tick();
  EXPECT_TRUE(e.RebuildNetwork);
  EXPECT_FALSE(e.RebuildDrives);
  EXPECT_FALSE(Tick().RebuildNetwork);

  c.Network.Rows[0].OperStatus = 2;
  EXPECT_TRUE(Tick().RebuildNetwork);
  EXPECT_FALSE(Tick().RebuildNetwork);

  // A new interface that comes up at once asks for a rebuild too.
  c.Network.Rows.push_back(MakeIFRow(3, true));
  EXPECT_TRUE(Tick().RebuildNetwork);
  EXPECT_FALSE(Tick().RebuildNetwork);
  EXPECT_EQ(logger->NIFLogger().NumInterfaces(), 3u);
}

TEST_F(TPollFixture, AnyFailedSourceMakesStatus255AndTheNextPollRecovers) {
  c.SystemInfo.Drives = {Drive("C:\\")};
  c.Network.Rows = {MakeIFRow(1, true)};
  Create();
  Tick();
  ASSERT_EQ(logger->LastInternalPollingStatus(), insOK);

  c.SystemInfo.RAMFails = true;
  Tick();
  EXPECT_EQ(logger->LastInternalPollingStatus(), insFailed);
  EXPECT_EQ(logger->RAMInfo().Total, 0u);
  c.SystemInfo.RAMFails = false;
  Tick();
  EXPECT_EQ(logger->LastInternalPollingStatus(), insOK);

  c.SystemInfo.DrivesFail = true;
  c.Clock.Now += TQD_VolumeQueries::kListRefreshMs;  // the list's next reading
  TEvent e = Tick();
  EXPECT_EQ(logger->LastInternalPollingStatus(), insFailed);
  EXPECT_EQ(logger->NumLogicalDrives(), 0);
  EXPECT_TRUE(e.RebuildDrives);
  c.SystemInfo.DrivesFail = false;
  EXPECT_TRUE(Tick().RebuildDrives);  // an empty list is read again at once
  EXPECT_EQ(logger->LastInternalPollingStatus(), insOK);

  c.Network.Fails = true;
  Tick();
  EXPECT_EQ(logger->LastInternalPollingStatus(), insFailed);
  c.Network.Fails = false;
  Tick();
  EXPECT_EQ(logger->LastInternalPollingStatus(), insOK);
}

TEST_F(TPollFixture, RecordsTimeAndDurationAndTakesNetworkSamples) {
  c.SystemInfo.Drives = {Drive("C:\\")};
  c.Network.Rows = {MakeIFRow(1, true, 1000, 0)};
  Create();
  c.Clock.Step = 7;  // every clock read advances 7 ms
  c.Clock.LocalTime = 46000.25;
  c.Network.Rows[0].InOctets = 4000;
  Tick();
  EXPECT_EQ(logger->LastInternalPollingDuration(), 7);
  EXPECT_DOUBLE_EQ(logger->LastInternalPollingTime(), 46000.25);
  EXPECT_EQ(logger->NIFLogger().GetDownloadValue(MakeGuid(1), 59), 3000u);
  EXPECT_EQ(logger->LogicalDrives()[1].UsedSpace, 750);
}

TEST_F(TPollFixture, ATickInsideTheEventHandlerIsDropped) {
  c.SystemInfo.Drives = {Drive("C:\\")};
  Create();
  int nested = 0;
  logger->OnInternalPollingDone = [&](TQD_DataLogger&, bool, bool) {
    ++nested;
    if (nested == 1) InternalTimer().Tick();  // as a nested message loop would deliver it
  };
  InternalTimer().Tick();
  EXPECT_EQ(nested, 1);
  InternalTimer().Tick();  // the busy flag was released
  EXPECT_EQ(nested, 2);
}
