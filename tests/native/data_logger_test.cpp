// The data logger's state machine and lookups, with fake ports and timers.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "sim/block_writer.h"
#include "collector/data_logger.h"
#include "sim/fake_ports.h"

namespace {

TSF_Block CPUBlock() {
  TSF_Block b;
  b.PollTime = 1700000000;
  b.Sensors = {{0xF0000300, 0, "CPU [#0]: Intel Core i7", ""},
               {0xF0000501, 0, "CPU [#0]: Intel Core i7: Enhanced", ""}};
  b.Readings = {{7, 0, 0x7000000, "Total CPU Usage", "Load", "%", 12.5, 1, 99, 30},
                {1, 1, 0x1000000, "CPU Package", "", "\xC2\xB0" "C", 45.5, 30, 80, 50},
                {7, 0, 0x7000000, "Duplicate Usage", "", "%", 99, 99, 99, 99},
                {8, 0, 0x8000001, "Odd", "", "furlongs", 1, 2, 3, 4}};
  return b;
}

struct Events {
  int Count = 0;
  TQD_DataLogger* Sender = nullptr;
  bool Drive = false;
  bool Network = false;
  TQD_PollingDoneMessageProc Handler() {
    return [this](TQD_DataLogger& ASender, bool ADrive, bool ANetwork) {
      ++Count;
      Sender = &ASender;
      Drive = ADrive;
      Network = ANetwork;
    };
  }
};

class DataLoggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    c.SharedMemory.Block = WriteBlock(CPUBlock());
    c.SystemInfo.Drives = {{true, 0, "C:\\", "System", 100, 40, 60}};
    c.Network.Rows = {MakeIFRow(1, true)};
    logger = std::make_unique<TQD_DataLogger>(c.Ports(), false, 180, 2000);
    logger->OnHWiPollingDone = hwi.Handler();
    logger->OnInternalPollingDone = internal.Handler();
  }
  TFakeTimer& InternalTimer() { return *c.Timers.Created.at(0); }
  TFakeTimer& HWiTimer() { return *c.Timers.Created.at(1); }

  TFakeCollector c;
  std::unique_ptr<TQD_DataLogger> logger;
  Events hwi, internal;
};

}  // namespace

TEST_F(DataLoggerTest, CreationReadsTheSystemButStartsNothing) {
  EXPECT_EQ(logger->LastHWiPollingStatus(), hwsNotPolled);
  EXPECT_EQ(logger->LastInternalPollingStatus(), insNotPolled);
  EXPECT_TRUE(logger->HWiPollingFirstRun());
  EXPECT_EQ(logger->NumCPUs(), -1);  // never filled
  EXPECT_EQ(logger->NumLogicalDrives(), 1);
  EXPECT_EQ(logger->CPUInfo().NumPhysicalCores, 8u);
  EXPECT_EQ(logger->InternalPollingInterval(), 1000u);
  EXPECT_EQ(logger->HWiPollingInterval(), 2000u);
  EXPECT_FALSE(InternalTimer().Enabled());
  EXPECT_FALSE(HWiTimer().Enabled());
  EXPECT_EQ(c.SharedMemory.OpenCount, 0);
  EXPECT_EQ(logger->ReadingList().size(), 0u);
  EXPECT_EQ(logger->GetUserLabel(TQD_URID::CreateNew(0xF0000300, 0, 0x7000000)), "-");

  logger->Start();
  EXPECT_TRUE(InternalTimer().Enabled());
  EXPECT_TRUE(HWiTimer().Enabled());
  EXPECT_EQ(HWiTimer().DueTime(), 0u);
  logger->Stop();
  EXPECT_FALSE(InternalTimer().Enabled());
  EXPECT_FALSE(HWiTimer().Enabled());
}

TEST_F(DataLoggerTest, TimerTicksRunThePolls) {
  logger->Start();
  HWiTimer().Tick();
  EXPECT_EQ(hwi.Count, 1);
  EXPECT_EQ(logger->LastHWiPollingStatus(), hwsOK);
  InternalTimer().Tick();
  EXPECT_EQ(internal.Count, 1);
  EXPECT_EQ(logger->LastInternalPollingStatus(), insOK);
}

TEST_F(DataLoggerTest, MissingHWiNFOResetsTheModelAndStillFiresTheEvent) {
  c.SharedMemory.Block.reset();
  logger->HWiPolling();
  EXPECT_EQ(logger->LastHWiPollingStatus(), hwsNoMapping);
  EXPECT_EQ(logger->NumCPUs(), 0);
  EXPECT_EQ(logger->NumGPUs(), 0);
  EXPECT_EQ(logger->NumHardwareDrives(), 0);
  EXPECT_FALSE(logger->CPUSensorFound());
  EXPECT_EQ(logger->ReadingList().size(), 1u);
  EXPECT_EQ(hwi.Count, 1);
  EXPECT_EQ(hwi.Sender, logger.get());
  EXPECT_FALSE(hwi.Drive);
  EXPECT_FALSE(hwi.Network);
  EXPECT_TRUE(logger->HWiPollingFirstRun());
}

TEST_F(DataLoggerTest, TheModelIsRebuiltOnlyAfterStartResetOrFailure) {
  logger->HWiPolling();
  ASSERT_EQ(logger->NumCPUs(), 1);
  EXPECT_FALSE(logger->HWiPollingFirstRun());

  // A second processor appears: ordinary polls keep the model.
  TSF_Block two = CPUBlock();
  two.Sensors.push_back({0xF0000300, 1, "CPU [#1]: Intel Core i7", ""});
  c.SharedMemory.Block = WriteBlock(two);
  logger->HWiPolling();
  EXPECT_EQ(logger->NumCPUs(), 1);
  EXPECT_EQ(logger->SensorList().size(), 3u);  // the lists themselves are fresh

  logger->HWiPollingReset();
  logger->HWiPolling();
  EXPECT_EQ(logger->NumCPUs(), 2);

  // A failed poll discards the model; the next good one rebuilds it.
  c.SharedMemory.Block.reset();
  logger->HWiPolling();
  EXPECT_EQ(logger->NumCPUs(), 0);
  c.SharedMemory.Block = WriteBlock(CPUBlock());
  logger->HWiPolling();
  EXPECT_EQ(logger->NumCPUs(), 1);

  // A block with a bad sensor index counts as failed for the model too.
  TSF_Block bad = CPUBlock();
  bad.Readings[3].dwSensorIndex = 9;
  c.SharedMemory.Block = WriteBlock(bad);
  logger->HWiPolling();
  EXPECT_EQ(logger->LastHWiPollingStatus(), hwsReadError);
  EXPECT_EQ(logger->NumCPUs(), 0);
  EXPECT_TRUE(logger->HWiPollingFirstRun());
  EXPECT_EQ(logger->ReadingList().size(), 5u);  // the good readings are still there
}

TEST_F(DataLoggerTest, PollsRecordDurationAndTimeAndReleaseTheView) {
  c.Clock.Step = 7;
  c.Clock.LocalTime = 46000.25;
  logger->HWiPolling();
  EXPECT_EQ(logger->LastHWiPollingDuration(), 7);
  EXPECT_EQ(c.SharedMemory.LastName, "Global\\HWiNFO_SENS_SM2");
  EXPECT_EQ(c.SharedMemory.LiveViews, 0);
  logger->InternalPolling();
  EXPECT_EQ(logger->LastInternalPollingDuration(), 7);
  EXPECT_EQ(logger->LastInternalPollingTime(), 46000.25);
}

TEST_F(DataLoggerTest, ATickArrivingWhileItsPollRunsIsDropped) {
  int nested = 0;
  logger->OnHWiPollingDone = [&](TQD_DataLogger& L, bool, bool) {
    ++nested;
    L.HWiPolling();  // what a nested message loop would deliver
  };
  logger->OnInternalPollingDone = [&](TQD_DataLogger& L, bool, bool) {
    ++nested;
    L.InternalPolling();
  };
  logger->HWiPolling();
  logger->InternalPolling();
  EXPECT_EQ(nested, 2);
  // Not stuck: the next ticks run again.
  logger->HWiPolling();
  EXPECT_EQ(nested, 3);
}

TEST_F(DataLoggerTest, AnExceptionInTheHandlerDoesNotStopPolling) {
  logger->OnHWiPollingDone = [](TQD_DataLogger&, bool, bool) { throw std::runtime_error("boom"); };
  logger->OnInternalPollingDone = [](TQD_DataLogger&, bool, bool) { throw std::runtime_error("boom"); };
  EXPECT_THROW(logger->HWiPolling(), std::runtime_error);
  EXPECT_THROW(logger->InternalPolling(), std::runtime_error);
  logger->OnHWiPollingDone = hwi.Handler();
  logger->OnInternalPollingDone = internal.Handler();
  logger->HWiPolling();
  logger->InternalPolling();
  EXPECT_EQ(hwi.Count, 1);
  EXPECT_EQ(internal.Count, 1);
}

TEST_F(DataLoggerTest, IntervalChangesRestartBothTimers) {
  logger->Start();
  ASSERT_EQ(HWiTimer().EnableCount, 1);
  logger->SetHWiPollingInterval(2000);  // unchanged: nothing happens
  EXPECT_EQ(HWiTimer().EnableCount, 1);
  EXPECT_EQ(InternalTimer().EnableCount, 1);
  logger->SetHWiPollingInterval(500);
  EXPECT_EQ(logger->HWiPollingInterval(), 500u);
  EXPECT_EQ(HWiTimer().EnableCount, 2);
  EXPECT_EQ(InternalTimer().EnableCount, 2);
  logger->SetInternalPollingInterval(1000);  // restarts even when unchanged
  EXPECT_EQ(InternalTimer().EnableCount, 3);
  EXPECT_EQ(HWiTimer().EnableCount, 3);
  EXPECT_TRUE(HWiTimer().Enabled());
}

TEST_F(DataLoggerTest, LookupsAndTheirTieBreaks) {
  logger->HWiPolling();
  const TQD_URID usage = TQD_URID::CreateNew(0xF0000300, 0, 0x7000000);
  EXPECT_EQ(logger->GetReadingIndex(usage), 1);  // the first of two duplicates
  EXPECT_EQ(logger->GetUserLabel(usage), "Load");
  EXPECT_EQ(logger->GetUserLabel(TQD_URID::CreateNew(1, 2, 3)), "-");
  EXPECT_EQ(logger->GetReadingIndex(TQD_URID::CreateEmpty()), 0);
  EXPECT_EQ(logger->GetUnit(usage), 1);
  EXPECT_EQ(logger->GetUnit(2), 5);  // "°C"
  EXPECT_EQ(logger->GetUnit(4), -1);
  EXPECT_EQ(logger->GetUnit(0), -1);
  EXPECT_EQ(logger->GetUnit(5), -1);
  EXPECT_EQ(logger->GetUnit(-3), -1);
  EXPECT_EQ(logger->GetValue(2, dcsValue), 45.5);
  EXPECT_EQ(logger->GetValue(2, dcsValueMin), 30);
  EXPECT_EQ(logger->GetValue(2, dcsValueMax), 80);
  EXPECT_EQ(logger->GetValue(2, dcsValueAvg), 50);
  EXPECT_EQ(logger->GetValue(2, dcsLabelOrig), 0);
  EXPECT_EQ(logger->GetValue(usage, dcsValue), 12.5);
  EXPECT_EQ(logger->GetValue(99, dcsValue), 0);
  EXPECT_EQ(logger->GetCPUIndex(0), 1);
  EXPECT_EQ(logger->GetCPUIndex(7), 0);
  EXPECT_EQ(logger->GetGPUIndex(0), 0);
}

TEST_F(DataLoggerTest, InstanceLookupsTakeTheLastMatch) {
  TSF_Block b = CPUBlock();
  b.Sensors.push_back({0xF0000300, 0, "CPU [#0] again", ""});
  c.SharedMemory.Block = WriteBlock(b);
  logger->HWiPolling();
  ASSERT_EQ(logger->NumCPUs(), 2);
  EXPECT_EQ(logger->GetCPUIndex(0), 2);
}
