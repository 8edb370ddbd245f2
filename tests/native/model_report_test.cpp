// What `sensorfeed dump --model` prints for a small hand-made machine.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "logger_rig.h"
#include "sensorfeed/reports.h"

namespace {

std::string Report(const TQD_DataLogger& ALogger) {
  std::FILE* f = std::tmpfile();
  EXPECT_NE(f, nullptr);
  if (!f) return {};
  PrintModelReport(ALogger, f);
  std::rewind(f);
  std::string text;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  std::fclose(f);
  return text;
}

TEST(ModelReport, ListsEveryDetectedPartWithItsReadings) {
  TLoggerRig rig(4);
  const uint32_t cpu = rig.Sensor(kCPUSensor, 0, "CPU [#0]: Test CPU");
  const uint32_t pwr = rig.Sensor(kCPUPowerSensor, 0);
  const uint32_t gpu = rig.Sensor(kGPUSensor1, 0, "GPU [#0]: NVIDIA Test GPU");
  rig.Sensor(kDriveSensor, 0, "S.M.A.R.T.: Test SSD");
  const uint32_t board = rig.Sensor(kBoardSensor, 0);
  rig.Reading(cpu, SENSOR_TYPE_USAGE, 0x07000000, "Total CPU Usage", "%", 12.4);
  rig.Reading(cpu, SENSOR_TYPE_USAGE, 0x07000001, "P-core 0 T0 Usage", "%", 3);
  rig.Reading(cpu, SENSOR_TYPE_USAGE, 0x07000002, "P-core 0 T1 Usage", "%", 4);
  rig.Reading(cpu, SENSOR_TYPE_CLOCK, 0x06000000, "Core 2 Clock", "MHz", 4800);
  rig.Reading(pwr, SENSOR_TYPE_TEMP, 0x01000082, "Core 2 (CCD1)", "\xC2\xB0" "C", 51.25);
  rig.Reading(board, SENSOR_TYPE_FAN, 0x03000000, "CPU Fan", "RPM", 1200);
  rig.Reading(gpu, SENSOR_TYPE_OTHER, 0x080000FC, "GPU Memory Allocated", "MB", 2048);
  rig.Reading(gpu, SENSOR_TYPE_USAGE, 0x07000008, "GPU Memory Usage", "%", 25);
  rig.Reading(gpu, SENSOR_TYPE_FAN, 0x03000000, "GPU Fan1", "RPM", 900);
  TQD_DataLogger& logger = rig.Poll();

  const std::string text = Report(logger);
  for (const char* expected : {
           "CPUs: 1\n",
           "  CPU 1 (instance 0)\n",
           "Usage                    F0000300:0:07000000  \"Total CPU Usage\" = 12 %\n",
           "Fan                      F0001000:0:03000000  \"CPU Fan\" = 1200 RPM\n",
           "Package power            -\n",
           "    Cores: 3\n",
           "      Core 0: P-core, 2 thread(s)\n",
           "        Thread 1 usage       F0000300:0:07000002",
           "      Core 1: not reported\n",
           "      Core 2: core, CCD 1, 0 thread(s)\n",
           "\"Core 2 (CCD1)\" = 51.25 \xC2\xB0" "C\n",
           "GPUs: 1\n",
           "  GPU 1 (instance 0): NVIDIA, \"NVIDIA Test GPU\"\n",
           "Memory total             8192 MiB\n",
           "    Fans: 1\n",
           "Hardware drives: 1\n",
           "  Drive 1 (instance 0): \"S.M.A.R.T.: Test SSD\"\n",
       })
    EXPECT_NE(text.find(expected), std::string::npos) << "missing: " << expected << "\nin:\n" << text;
}

TEST(ModelReport, SaysWhenNothingWasBuiltOrFound) {
  TLoggerRig rig;
  EXPECT_NE(Report(rig.Get()).find("Not built yet"), std::string::npos);

  const std::string failed = Report(rig.PollWithoutHWiNFO());
  EXPECT_NE(failed.find("HWiNFO polling status: 255"), std::string::npos) << failed;
  EXPECT_NE(failed.find("CPU sensor found: no"), std::string::npos) << failed;
  EXPECT_NE(failed.find("CPUs: 0\nGPUs: 0\nHardware drives: 0\n"), std::string::npos) << failed;
}

}  // namespace
