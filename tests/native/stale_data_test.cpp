// A block whose poll time stops moving is stale after 3 × max(HWiNFO's own
// period, our polling interval); its values read as unavailable until the
// poll time moves again, and the poll status keeps saying what it read.
#include <gtest/gtest.h>

#include "logger_rig.h"

namespace {

struct TStaleCase {
  const char* Name;
  std::vector<int64_t> Steps;  // successive forward steps of the poll time, seconds
  uint32_t IntervalMs;         // our HWiNFO polling interval
  int64_t ThresholdMs;         // longest silence that is not yet stale
};

class StaleRule : public ::testing::TestWithParam<TStaleCase> {};

TEST_P(StaleRule, StaleJustAfterThreeTimesTheLongerPeriod) {
  const TStaleCase& c = GetParam();
  TLoggerRig rig;
  const uint32_t cpu = rig.Sensor(kCPUSensor, 0, "CPU");
  const TQD_URID usage = rig.Reading(cpu, 7, 1, "Total CPU Usage", "%", 42);
  rig.Get().SetHWiPollingInterval(c.IntervalMs);
  rig.Block.PollTime = 1000000;
  rig.Poll();
  for (int64_t step : c.Steps) {
    rig.Block.PollTime += step;
    rig.Fakes.Clock.Now += step * 1000;
    rig.Poll();
  }
  TQD_DataLogger& logger = rig.Poll();
  EXPECT_FALSE(logger.HWiDataStale());

  rig.Fakes.Clock.Now += c.ThresholdMs;
  rig.Poll();
  EXPECT_FALSE(logger.HWiDataStale()) << c.Name;
  EXPECT_EQ(logger.FormatValue(usage, dcsValue), "42 %");

  rig.Fakes.Clock.Now += 1;
  rig.Poll();
  EXPECT_TRUE(logger.HWiDataStale()) << c.Name;
  EXPECT_EQ(logger.LastHWiPollingStatus(), hwsOK);  // no new status code
  EXPECT_EQ(logger.FormatValue(usage, dcsValue), "-");
  EXPECT_EQ(logger.GetValue(usage, dcsValue), 0);
  EXPECT_EQ(logger.NumCPUs(), 1);  // the model stands; only values are withheld
}

INSTANTIATE_TEST_SUITE_P(
    Periods, StaleRule,
    ::testing::Values(TStaleCase{"HWiNFO every 2 s, we every 2 s", {2, 2, 2}, 2000, 6000},
                      TStaleCase{"HWiNFO slower than us", {5, 5}, 20, 15000},
                      TStaleCase{"we slower than HWiNFO", {1, 1, 1}, 5000, 15000},
                      TStaleCase{"the longest recent step counts", {10, 1, 1}, 2000, 30000},
                      TStaleCase{"never moved: a slow HWiNFO is given a minute", {}, 2000, 180000}),
    [](const auto& AInfo) { return "Case" + std::to_string(AInfo.index); });

TEST(StaleData, RecoversWhenThePollTimeMovesAndForgetsAcrossAFailedPoll) {
  TLoggerRig rig;
  const uint32_t cpu = rig.Sensor(kCPUSensor, 0, "CPU");
  const TQD_URID usage = rig.Reading(cpu, 7, 1, "Total CPU Usage", "%", 42);
  rig.Block.PollTime = 1000000;
  rig.Fakes.Clock.LocalTime = 46000.75;  // 18:00:00 local
  TQD_DataLogger& logger = rig.Poll();
  rig.Block.PollTime += 2;
  rig.Fakes.Clock.LocalTime = 46000.75 + 2.0 / 86400;
  rig.Poll();
  rig.Fakes.Clock.Now += 60000;
  rig.Fakes.Clock.LocalTime += 60.0 / 86400;
  rig.Poll();
  ASSERT_TRUE(logger.HWiDataStale());
  EXPECT_DOUBLE_EQ(logger.HWiDataMovedLocalTime(), 46000.75 + 2.0 / 86400);  // the last move

  rig.Block.PollTime += 60;
  rig.Poll();
  EXPECT_FALSE(logger.HWiDataStale());
  EXPECT_EQ(logger.FormatValue(usage, dcsValue), "42 %");

  // HWiNFO gone and back: its history starts again, so the minute of grace applies.
  rig.PollWithoutHWiNFO();
  EXPECT_FALSE(logger.HWiDataStale());
  rig.Poll();
  rig.Fakes.Clock.Now += 60000;
  rig.Poll();
  EXPECT_FALSE(logger.HWiDataStale());
}

}  // namespace
