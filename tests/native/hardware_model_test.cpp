// The hardware model: the label rules, and the model the data logger derives
// from small hand-made HWiNFO blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "collector/hardware_model_rules.h"
#include "logger_rig.h"

namespace {

const TQD_URID kEmpty{};

// --- label rules -------------------------------------------------------------

TEST(HardwareModelLabels, CoreNumberIsTheFirstWordAfterCore) {
  int c = 99;
  EXPECT_TRUE(ParseCoreNumber("Core 0 VID", c));
  EXPECT_EQ(c, 0);
  EXPECT_TRUE(ParseCoreNumber("P-core 7 Clock (perf #1)", c));
  EXPECT_EQ(c, 7);
  EXPECT_TRUE(ParseCoreNumber("core  \t12", c));  // leading blanks and controls are stripped
  EXPECT_EQ(c, 12);
  EXPECT_TRUE(ParseCoreNumber("Core 5 (CCD2)", c));
  EXPECT_EQ(c, 5);

  for (const char* label : {"Core Max", "CPU Package", "Core", "Core 3x Clock", "Core (3)"}) {
    c = 99;
    EXPECT_FALSE(ParseCoreNumber(label, c)) << label;
    EXPECT_EQ(c, -1) << label;
  }
}

TEST(HardwareModelLabels, ThreadUsageNeedsUsageAndAnUpperCaseThreadPart) {
  int c = 99, t = 99;
  EXPECT_TRUE(ParseThreadUsageLabel("Core 3 T1 Usage", c, t));
  EXPECT_EQ(c, 3);
  EXPECT_EQ(t, 1);
  EXPECT_TRUE(ParseThreadUsageLabel("P-core 0 T0 Usage", c, t));
  EXPECT_EQ(c, 0);
  EXPECT_EQ(t, 0);
  EXPECT_TRUE(ParseThreadUsageLabel("E-core 11 T0 usage", c, t));  // USAGE is case-insensitive
  EXPECT_EQ(c, 11);

  for (const char* label : {"Core 0 Usage", "Core Max", "Core 3 t1 Usage", "Core 3 T1 Clock",
                            "Core 3 Tx Usage", "Core 3  T1 Usage", "Core x T1 Usage", "Total CPU Usage"}) {
    c = t = 99;
    EXPECT_FALSE(ParseThreadUsageLabel(label, c, t)) << label;
    EXPECT_EQ(c, -1) << label;
    EXPECT_EQ(t, -1) << label;
  }
}

TEST(HardwareModelLabels, CCDNumberSitsBetweenCCDAndTheClosingParenthesis) {
  EXPECT_EQ(ParseCCDNumber("Core 5 (CCD2)"), 2);
  EXPECT_EQ(ParseCCDNumber("Core 3 (ccd1)"), 1);
  EXPECT_EQ(ParseCCDNumber("Core 5"), -1);
  EXPECT_EQ(ParseCCDNumber("Core 5 (CCD)"), -1);
  EXPECT_EQ(ParseCCDNumber("Core 5 (CCD 1)"), -1);
}

TEST(HardwareModelLabels, CoreKindsAndGPUNames) {
  EXPECT_TRUE(IsPCoreLabel("p-Core 0 T0 Usage"));
  EXPECT_FALSE(IsPCoreLabel("E-core 8 T0 Usage"));
  EXPECT_TRUE(IsECoreLabel("E-CORE 8 T0 Usage"));
  EXPECT_FALSE(IsECoreLabel("Core 8 T0 Usage"));

  EXPECT_EQ(GetGPUVendor("GPU [#0]: NVIDIA GeForce RTX 3070"), 3u);
  EXPECT_EQ(GetGPUVendor("GPU [#1]: amd Radeon RX 7800 XT"), 2u);
  EXPECT_EQ(GetGPUVendor("GPU [#0]: Intel Arc A770"), 1u);
  EXPECT_EQ(GetGPUVendor("GPU [#0]: Matrox G200"), 0u);
  // The last name in the order Intel, AMD, NVIDIA wins, not the last in the text.
  EXPECT_EQ(GetGPUVendor("NVIDIA board on AMD chipset"), 3u);
  EXPECT_EQ(GetGPUVendor("AMD graphics in an Intel box"), 2u);

  EXPECT_EQ(GetGPUName("GPU [#0]: NVIDIA GeForce RTX 3070: "), "NVIDIA GeForce RTX 3070 ");
  EXPECT_EQ(GetGPUName("GPU: Radeon"), "U Radeon");  // no "]: ": from the third character, colons dropped
  EXPECT_EQ(GetGPUName("AB"), "");
  EXPECT_EQ(GetGPUName("[a]: b]: c"), "b] c");  // only the first "]: " separates
}

TEST(HardwareModelLabels, RoundHalfEvenAndItsLimits) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(2.5000001), 3);
  EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
  EXPECT_EQ(RoundHalfEven(1e300), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(RoundHalfEven(-std::numeric_limits<double>::infinity()), std::numeric_limits<int64_t>::min());
}

// --- the rebuilt model ------------------------------------------------------------

TEST(HardwareModel, TwoPackagesTakeTheirReadingsByInstance) {
  TLoggerRig rig;
  const uint32_t cpu0 = rig.Sensor(kCPUSensor, 0, "CPU [#0]: Xeon");
  const uint32_t cpu1 = rig.Sensor(kCPUSensor, 1, "CPU [#1]: Xeon");
  const uint32_t pwr1 = rig.Sensor(kCPUPowerSensor, 1);
  const uint32_t pwr0 = rig.Sensor(kCPUPowerSensor, 0);
  const uint32_t stray = rig.Sensor(kCPUPowerSensor, 7);  // no CPU has instance 7
  const TQD_URID usage0 = rig.Reading(cpu0, SENSOR_TYPE_USAGE, 0x07000000, "Total CPU Usage", "%");
  const TQD_URID usage1 = rig.Reading(cpu1, SENSOR_TYPE_USAGE, 0x07000000, "Total CPU Usage", "%");
  const TQD_URID power1 = rig.Reading(pwr1, SENSOR_TYPE_POWER, 0x05000000, "CPU Package Power", "W");
  const TQD_URID temp0 = rig.Reading(pwr0, SENSOR_TYPE_TEMP, 0x01000000, "CPU Package", "\xC2\xB0" "C");
  rig.Reading(stray, SENSOR_TYPE_POWER, 0x05000000, "CPU Package Power", "W");
  rig.Reading(stray, SENSOR_TYPE_TEMP, 0x01000080, "Core 0 (CCD1)", "\xC2\xB0" "C");

  TQD_DataLogger& logger = rig.Poll();
  ASSERT_EQ(logger.NumCPUs(), 2);
  EXPECT_TRUE(logger.CPUSensorFound());
  const TQD_CPUMTR_CPUs& cpus = logger.CPUs();
  EXPECT_EQ(cpus[1].Instance, 0u);
  EXPECT_EQ(cpus[2].Instance, 1u);
  EXPECT_EQ(cpus[1].Usage, usage0);
  EXPECT_EQ(cpus[2].Usage, usage1);
  EXPECT_EQ(cpus[2].PackagePower, power1);
  EXPECT_EQ(cpus[1].PackagePower, kEmpty);
  EXPECT_EQ(cpus[1].Temperature, temp0);
  EXPECT_EQ(cpus[2].Temperature, kEmpty);
  // The stray instance's readings reach no CPU, and the placeholder stays empty.
  EXPECT_EQ(cpus[0].PackagePower, kEmpty);
  EXPECT_TRUE(cpus[0].Cores.empty());
  EXPECT_TRUE(cpus[1].Cores.empty());
}

TEST(HardwareModel, SecondPackageLayoutGivesPackagePowerAndTemperature) {
  TLoggerRig rig;
  rig.Sensor(kCPUSensor, 0);
  const uint32_t pkg = rig.Sensor(kCPUPackage2Sensor, 0);
  const TQD_URID power = rig.Reading(pkg, SENSOR_TYPE_POWER, 0x05000000, "Package Power", "W");
  rig.Reading(pkg, SENSOR_TYPE_TEMP, 0x01000000, "Not the package", "\xC2\xB0" "C");
  const TQD_URID temp = rig.Reading(pkg, SENSOR_TYPE_TEMP, 0x01000004, "CPU (Tctl/Tdie)", "\xC2\xB0" "C");
  const TQD_CPUMTR_ACPU& cpu = rig.Poll().CPUs()[1];
  EXPECT_EQ(cpu.PackagePower, power);
  EXPECT_EQ(cpu.Temperature, temp);
}

TEST(HardwareModel, CoreNumbersWithGapsKeepEmptyCoresBetween) {
  TLoggerRig rig(8);
  const uint32_t cpu = rig.Sensor(kCPUSensor, 0);
  const TQD_URID c0 = rig.Reading(cpu, SENSOR_TYPE_CLOCK, 0x06000000, "Core 0 Clock", "MHz");
  const TQD_URID c1 = rig.Reading(cpu, SENSOR_TYPE_CLOCK, 0x06000001, "Core 1 Clock", "MHz");
  const TQD_URID c4 = rig.Reading(cpu, SENSOR_TYPE_CLOCK, 0x06000002, "Core 4 Clock", "MHz");

  const TQD_CPUMTR_Cores& cores = rig.Poll().CPUs()[1].Cores;
  ASSERT_EQ(cores.size(), 5u);
  EXPECT_EQ(cores[0].Clock, c0);
  EXPECT_EQ(cores[1].Clock, c1);
  EXPECT_EQ(cores[4].Clock, c4);
  for (int i : {2, 3}) {
    const TQD_CPUMTR_ACore& gap = cores[static_cast<size_t>(i)];
    EXPECT_EQ(gap.Clock, kEmpty);
    EXPECT_EQ(gap.Voltage, kEmpty);
    EXPECT_EQ(gap.Temperature, kEmpty);
    EXPECT_EQ(gap.CCD, 0);
    EXPECT_FALSE(gap.IsPCore || gap.IsECore);
    EXPECT_TRUE(gap.HardwareThreads.empty());
  }
}

TEST(HardwareModel, ThreadUsagesBuildCoresAndThreads) {
  TLoggerRig rig(4);
  const uint32_t cpu = rig.Sensor(kCPUSensor, 0);
  const TQD_URID t00 = rig.Reading(cpu, SENSOR_TYPE_USAGE, 0x07000001, "Core 0 T0 Usage", "%");
  const TQD_URID t01 = rig.Reading(cpu, SENSOR_TYPE_USAGE, 0x07000002, "Core 0 T1 Usage", "%");
  const TQD_URID p1 = rig.Reading(cpu, SENSOR_TYPE_USAGE, 0x07000003, "P-core 1 T0 Usage", "%");
  const TQD_URID e2 = rig.Reading(cpu, SENSOR_TYPE_USAGE, 0x07FFFFFF, "E-core 2 T3 Usage", "%");
  rig.Reading(cpu, SENSOR_TYPE_USAGE, 0x07000010, "Core Max", "%");
  rig.Reading(cpu, SENSOR_TYPE_USAGE, 0x07000011, "Core 0 Usage", "%");
  rig.Reading(cpu, SENSOR_TYPE_OTHER, 0x08000000, "Core 3 T0 Usage", "%");  // outside the load range
  rig.Reading(cpu, SENSOR_TYPE_USAGE, 0x06FFFFFF, "Core 3 T0 Usage", "%");

  const TQD_CPUMTR_Cores& cores = rig.Poll().CPUs()[1].Cores;
  ASSERT_EQ(cores.size(), 3u);
  ASSERT_EQ(cores[0].HardwareThreads.size(), 2u);
  EXPECT_EQ(cores[0].HardwareThreads[0].Usage, t00);
  EXPECT_EQ(cores[0].HardwareThreads[1].Usage, t01);
  EXPECT_FALSE(cores[0].IsPCore || cores[0].IsECore);
  ASSERT_EQ(cores[1].HardwareThreads.size(), 1u);
  EXPECT_EQ(cores[1].HardwareThreads[0].Usage, p1);
  EXPECT_TRUE(cores[1].IsPCore);
  EXPECT_FALSE(cores[1].IsECore);
  ASSERT_EQ(cores[2].HardwareThreads.size(), 4u);
  EXPECT_EQ(cores[2].HardwareThreads[3].Usage, e2);
  EXPECT_EQ(cores[2].HardwareThreads[0].Usage, kEmpty);
  EXPECT_TRUE(cores[2].IsECore);
}

TEST(HardwareModel, PerCoreRangesStopBeforeThePhysicalCoreCount) {
  TLoggerRig rig(4);
  const uint32_t cpu = rig.Sensor(kCPUSensor, 0);
  const uint32_t pwr = rig.Sensor(kCPUPowerSensor, 0);
  const uint32_t temps = rig.Sensor(kCoreTempSensor, 0);
  const TQD_URID v3 = rig.Reading(cpu, SENSOR_TYPE_VOLT, 0x02000003, "Core 3 VID", "V");
  rig.Reading(cpu, SENSOR_TYPE_VOLT, 0x02000004, "Core 0 VID", "V");  // id = base + N: excluded
  const TQD_URID clk = rig.Reading(cpu, SENSOR_TYPE_CLOCK, 0x06000000, "Core 2 Clock", "MHz");
  rig.Reading(cpu, SENSOR_TYPE_CLOCK, 0x06000004, "Core 1 Clock", "MHz");
  rig.Reading(pwr, SENSOR_TYPE_POWER, 0x05000000 + 0, "CPU Package Power", "W");
  const TQD_URID pw1 = rig.Reading(pwr, SENSOR_TYPE_POWER, 0x05000002, "Core 1 Power", "W");
  rig.Reading(pwr, SENSOR_TYPE_POWER, 0x05000005, "Core 2 Power", "W");  // 0x05000001 + N
  const TQD_URID tp0 = rig.Reading(temps, SENSOR_TYPE_TEMP, 0x01000003, "Core 0", "\xC2\xB0" "C");
  rig.Reading(temps, SENSOR_TYPE_TEMP, 0x01000004, "Core 1", "\xC2\xB0" "C");

  const TQD_CPUMTR_Cores& cores = rig.Poll().CPUs()[1].Cores;
  ASSERT_EQ(cores.size(), 4u);
  EXPECT_EQ(cores[3].Voltage, v3);
  EXPECT_EQ(cores[0].Voltage, kEmpty);
  EXPECT_EQ(cores[2].Clock, clk);  // the label, not the id, names the core
  EXPECT_EQ(cores[1].Clock, kEmpty);
  EXPECT_EQ(cores[1].Power, pw1);
  EXPECT_EQ(cores[2].Power, kEmpty);
  EXPECT_EQ(cores[0].Temperature, tp0);
  EXPECT_EQ(cores[1].Temperature, kEmpty);
}

TEST(HardwareModel, UnknownCoreCountAcceptsNoPerCoreReading) {
  TLoggerRig rig(0);  // the processor topology could not be read
  const uint32_t cpu = rig.Sensor(kCPUSensor, 0);
  rig.Reading(cpu, SENSOR_TYPE_VOLT, 0x02000000, "Core 0 VID", "V");
  rig.Reading(cpu, SENSOR_TYPE_CLOCK, 0x06000000, "Core 0 Clock", "MHz");
  const TQD_URID t = rig.Reading(cpu, SENSOR_TYPE_USAGE, 0x07000001, "Core 0 T0 Usage", "%");
  const TQD_CPUMTR_Cores& cores = rig.Poll().CPUs()[1].Cores;
  ASSERT_EQ(cores.size(), 1u);  // thread usages are not bounded by the count
  EXPECT_EQ(cores[0].HardwareThreads[0].Usage, t);
  EXPECT_EQ(cores[0].Voltage, kEmpty);
  EXPECT_EQ(cores[0].Clock, kEmpty);
}

TEST(HardwareModel, CoreTemperatureSetsTheCCD) {
  TLoggerRig rig(8);
  const uint32_t cpu = rig.Sensor(kCPUSensor, 0);
  const uint32_t pwr = rig.Sensor(kCPUPowerSensor, 0);
  rig.Reading(cpu, SENSOR_TYPE_CLOCK, 0x06000000, "Core 0 Clock", "MHz");
  const TQD_URID t3 = rig.Reading(pwr, SENSOR_TYPE_TEMP, 0x01000083, "Core 3 (CCD1)", "\xC2\xB0" "C");
  rig.Reading(pwr, SENSOR_TYPE_TEMP, 0x01000081, "Core 1", "\xC2\xB0" "C");
  rig.Reading(pwr, SENSOR_TYPE_TEMP, 0x01000082, "Core 2 (CCD2)", "\xC2\xB0" "C");
  rig.Reading(pwr, SENSOR_TYPE_TEMP, 0x01000088, "Core 5 (CCD2)", "\xC2\xB0" "C");  // 0x01000080 + N

  const TQD_CPUMTR_Cores& cores = rig.Poll().CPUs()[1].Cores;
  ASSERT_EQ(cores.size(), 4u);
  EXPECT_EQ(cores[3].CCD, 1);
  EXPECT_EQ(cores[3].Temperature, t3);
  EXPECT_EQ(cores[2].CCD, 2);
  EXPECT_EQ(cores[1].CCD, -1);  // examined, no number
  EXPECT_EQ(cores[0].CCD, 0);   // never examined
}

TEST(HardwareModel, EarliestCPUFanInListOrderWins) {
  TLoggerRig rig;
  rig.Sensor(kCPUSensor, 0);
  rig.Sensor(kCPUSensor, 1);
  const uint32_t board = rig.Sensor(kBoardSensor, 0, "Motherboard");
  rig.Reading(board, SENSOR_TYPE_FAN, 0x03000000, "Chassis1", "RPM");
  rig.Reading(board, SENSOR_TYPE_TEMP, 0x01000000, "CPU", "\xC2\xB0" "C");  // not a fan
  const TQD_URID first = rig.Reading(board, SENSOR_TYPE_FAN, 0x03000001, "cpu fan", "RPM");
  rig.Reading(board, SENSOR_TYPE_FAN, 0x03000002, "CPU_OPT", "RPM");

  TQD_DataLogger& logger = rig.Poll();
  EXPECT_EQ(logger.CPUs()[1].Fanspeed, first);
  EXPECT_EQ(logger.CPUs()[2].Fanspeed, kEmpty);  // only CPU 1 gets a fan
}

TEST(HardwareModel, DriveTemperaturePrefersTheFirstIdInEitherOrder) {
  TLoggerRig rig;
  rig.Sensor(kDriveSensor, 0, "S.M.A.R.T.: Disk A", "System disk");
  rig.Sensor(kDriveSensor, 1, "S.M.A.R.T.: Disk B");
  rig.Sensor(kDriveSensor, 2, "S.M.A.R.T.: Disk C");
  const uint32_t temps0 = rig.Sensor(kDriveTempSensor, 0);
  const uint32_t temps1 = rig.Sensor(kDriveTempSensor, 1);
  const uint32_t temps2 = rig.Sensor(kDriveTempSensor, 2);
  rig.Reading(temps0, SENSOR_TYPE_TEMP, 0x01000001, "Drive Temperature 2", "\xC2\xB0" "C");
  const TQD_URID a = rig.Reading(temps0, SENSOR_TYPE_TEMP, 0x01000000, "Drive Temperature", "\xC2\xB0" "C");
  const TQD_URID b = rig.Reading(temps1, SENSOR_TYPE_TEMP, 0x01000000, "Drive Temperature", "\xC2\xB0" "C");
  rig.Reading(temps1, SENSOR_TYPE_TEMP, 0x01000001, "Drive Temperature 2", "\xC2\xB0" "C");
  const TQD_URID c = rig.Reading(temps2, SENSOR_TYPE_TEMP, 0x01000001, "Drive Temperature 2", "\xC2\xB0" "C");

  TQD_DataLogger& logger = rig.Poll();
  ASSERT_EQ(logger.NumHardwareDrives(), 3);
  EXPECT_EQ(logger.HardwareDrives()[1].Name, "System disk");  // the user's name
  EXPECT_EQ(logger.HardwareDrives()[2].Name, "S.M.A.R.T.: Disk B");
  EXPECT_EQ(logger.HardwareDrives()[1].Temperature, a);
  EXPECT_EQ(logger.HardwareDrives()[2].Temperature, b);
  EXPECT_EQ(logger.HardwareDrives()[3].Temperature, c);
}

TEST(HardwareModel, DriveActivityAndRates) {
  TLoggerRig rig;
  const uint32_t d = rig.Sensor(kDriveSensor, 4, "Drive: NVMe");
  const TQD_URID ra = rig.Reading(d, SENSOR_TYPE_USAGE, 0x07000000, "Read Activity", "%");
  const TQD_URID wa = rig.Reading(d, SENSOR_TYPE_USAGE, 0x07000001, "Write Activity", "%");
  const TQD_URID rr = rig.Reading(d, SENSOR_TYPE_OTHER, 0x08000000, "Read Rate", "MB/s");
  const TQD_URID wr = rig.Reading(d, SENSOR_TYPE_OTHER, 0x08000001, "Write Rate", "MB/s");
  const TQD_DRVMTR_AHardwareDrive& drive = rig.Poll().HardwareDrives()[1];
  EXPECT_EQ(drive.Instance, 4u);
  EXPECT_EQ(drive.ReadActivity, ra);
  EXPECT_EQ(drive.WriteActivity, wa);
  EXPECT_EQ(drive.ReadRate, rr);
  EXPECT_EQ(drive.WriteRate, wr);
  EXPECT_EQ(drive.Temperature, kEmpty);
}

TEST(HardwareModel, GPUReadingsFansAndMemoryTotal) {
  TLoggerRig rig;
  const uint32_t nv = rig.Sensor(kGPUSensor1, 0, "GPU [#0]: NVIDIA GeForce RTX 3070: ");
  const uint32_t nv2 = rig.Sensor(kGPUSensor1, 1, "GPU [#1]: NVIDIA GeForce GT 1030");
  const uint32_t amd = rig.Sensor(kGPUSensor2, 2, "GPU [#2]: AMD Radeon RX 6600");
  const TQD_URID hot = rig.Reading(nv, SENSOR_TYPE_TEMP, 0x01000005, "GPU Hot Spot", "\xC2\xB0" "C");
  const TQD_URID pwr = rig.Reading(nv, SENSOR_TYPE_POWER, 0x05000000, "GPU Power", "W");
  const TQD_URID alloc = rig.Reading(nv, SENSOR_TYPE_OTHER, 0x080000FC, "GPU Memory Allocated", "MB", 2048);
  const TQD_URID use = rig.Reading(nv, SENSOR_TYPE_USAGE, 0x07000008, "GPU Memory Usage", "%", 25);
  const TQD_URID f0 = rig.Reading(nv, SENSOR_TYPE_FAN, 0x03000000, "GPU Fan1", "RPM");
  const TQD_URID f2 = rig.Reading(nv, SENSOR_TYPE_FAN, 0x03000002, "GPU Fan3", "RPM");
  const TQD_URID f1 = rig.Reading(nv, SENSOR_TYPE_FAN, 0x03000001, "GPU Fan2", "RPM");
  rig.Reading(nv, SENSOR_TYPE_FAN, 0x03000003, "GPU Fan4", "RPM");
  rig.Reading(nv2, SENSOR_TYPE_OTHER, 0x080000FC, "GPU Memory Allocated", "MB", 512);
  rig.Reading(nv2, SENSOR_TYPE_USAGE, 0x07000008, "GPU Memory Usage", "%", 0);
  const TQD_URID apwr = rig.Reading(amd, SENSOR_TYPE_POWER, 0x05000008, "GPU ASIC Power", "W");
  rig.Reading(amd, SENSOR_TYPE_POWER, 0x05000000, "GPU Core Power", "W");
  const TQD_URID aalloc = rig.Reading(amd, SENSOR_TYPE_OTHER, 0x08000004, "GPU Memory Usage", "MB", 1000);
  const TQD_URID ause = rig.Reading(amd, SENSOR_TYPE_USAGE, 0x07000008, "GPU Memory Usage", "%", 50);

  rig.Get().SetGPUMemoryTotalManual(4096);
  TQD_DataLogger& logger = rig.Poll();
  ASSERT_EQ(logger.NumGPUs(), 3);
  EXPECT_TRUE(logger.GPUSensorFound());
  const TQD_GPUMTR_AGPU& g1 = logger.GPUs()[1];
  EXPECT_EQ(g1.Vendor, 3u);
  EXPECT_EQ(g1.GPUName, "NVIDIA GeForce RTX 3070 ");
  EXPECT_EQ(g1.Hotspot, hot);
  EXPECT_EQ(g1.Power, pwr);
  EXPECT_EQ(g1.MemoryAllocated, alloc);
  EXPECT_EQ(g1.MemoryUsage, use);
  EXPECT_EQ(g1.MemoryTotal, 8192u);  // 2048 / 25 × 100
  EXPECT_EQ(g1.Fans, (std::vector<TQD_URID>{f0, f2, f1}));  // reading order
  EXPECT_EQ(logger.GPUs()[2].MemoryTotal, 4096u);           // usage 0: the manual figure
  const TQD_GPUMTR_AGPU& g3 = logger.GPUs()[3];
  EXPECT_EQ(g3.Vendor, 2u);
  EXPECT_EQ(g3.Power, apwr);
  EXPECT_EQ(g3.MemoryAllocated, aalloc);
  EXPECT_EQ(g3.MemoryUsage, kEmpty);  // the second layout has no usage reading
  EXPECT_NE(ause, kEmpty);
  EXPECT_EQ(g3.MemoryTotal, 4096u);  // not NVIDIA: always the manual figure
}

TEST(HardwareModel, MemoryTotalRoundsHalvesToEvenAndRejectsAbsurdValues) {
  TLoggerRig rig;
  const uint32_t a = rig.Sensor(kGPUSensor1, 0, "NVIDIA A");
  const uint32_t b = rig.Sensor(kGPUSensor1, 1, "NVIDIA B");
  const uint32_t c = rig.Sensor(kGPUSensor1, 2, "NVIDIA C");
  rig.Reading(a, SENSOR_TYPE_OTHER, 0x080000FC, "Allocated", "MB", 1);
  rig.Reading(a, SENSOR_TYPE_USAGE, 0x07000008, "Usage", "%", 8);  // 12.5
  rig.Reading(b, SENSOR_TYPE_OTHER, 0x080000FC, "Allocated", "MB", 3);
  rig.Reading(b, SENSOR_TYPE_USAGE, 0x07000008, "Usage", "%", 8);  // 37.5
  rig.Reading(c, SENSOR_TYPE_OTHER, 0x080000FC, "Allocated", "MB", 1e300);
  rig.Reading(c, SENSOR_TYPE_USAGE, 0x07000008, "Usage", "%", 1e-300);
  rig.Get().SetGPUMemoryTotalManual(777);
  TQD_DataLogger& logger = rig.Poll();
  EXPECT_EQ(logger.GPUs()[1].MemoryTotal, 12u);
  EXPECT_EQ(logger.GPUs()[2].MemoryTotal, 38u);
  EXPECT_EQ(logger.GPUs()[3].MemoryTotal, 777u);
}

TEST(HardwareModel, NoProcessorSensorRunsNoCPURule) {
  TLoggerRig rig;
  const uint32_t pwr = rig.Sensor(kCPUPowerSensor, 0);
  const uint32_t board = rig.Sensor(kBoardSensor, 0);
  rig.Sensor(kGPUSensor1, 0, "GPU [#0]: NVIDIA");
  rig.Reading(pwr, SENSOR_TYPE_POWER, 0x05000000, "CPU Package Power", "W");
  rig.Reading(board, SENSOR_TYPE_FAN, 0x03000000, "CPU", "RPM");
  TQD_DataLogger& logger = rig.Poll();
  EXPECT_EQ(logger.NumCPUs(), 0);
  EXPECT_FALSE(logger.CPUSensorFound());
  EXPECT_EQ(logger.CPUs()[0].PackagePower, kEmpty);
  EXPECT_EQ(logger.CPUs()[0].Fanspeed, kEmpty);
  EXPECT_EQ(logger.NumGPUs(), 1);
  EXPECT_EQ(logger.NumHardwareDrives(), 0);
}

TEST(HardwareModel, MalformedCoreAndThreadNumbersAreIgnored) {
  TLoggerRig rig(8);
  const uint32_t cpu = rig.Sensor(kCPUSensor, 0);
  rig.Reading(cpu, SENSOR_TYPE_USAGE, 0x07000001, "Core -1 T0 Usage", "%");
  rig.Reading(cpu, SENSOR_TYPE_USAGE, 0x07000002, "Core 0 T-3 Usage", "%");
  rig.Reading(cpu, SENSOR_TYPE_USAGE, 0x07000003, "Core 2000000000 T0 Usage", "%");
  rig.Reading(cpu, SENSOR_TYPE_USAGE, 0x07000004, "Core 1 T2000000000 Usage", "%");
  rig.Reading(cpu, SENSOR_TYPE_CLOCK, 0x06000000, "Core -2 Clock", "MHz");
  rig.Reading(cpu, SENSOR_TYPE_CLOCK, 0x06000001, "Core 999999 Clock", "MHz");
  const TQD_URID ok = rig.Reading(cpu, SENSOR_TYPE_CLOCK, 0x06000002, "Core 1 Clock", "MHz");
  const TQD_CPUMTR_Cores& cores = rig.Poll().CPUs()[1].Cores;
  ASSERT_EQ(cores.size(), 2u);
  EXPECT_EQ(cores[1].Clock, ok);
  EXPECT_TRUE(cores[0].HardwareThreads.empty());
  EXPECT_TRUE(cores[1].HardwareThreads.empty());
}

// --- when the model is rebuilt -----------------------------------------------------

TEST(HardwareModelRebuild, BuiltOnFirstSuccessAfterResetAndAfterFailure) {
  TLoggerRig rig;
  TQD_DataLogger& logger = rig.Get();
  EXPECT_EQ(logger.NumCPUs(), -1);  // never filled
  EXPECT_EQ(logger.NumGPUs(), -1);
  EXPECT_FALSE(logger.CPUSensorFound());

  rig.Sensor(kCPUSensor, 0);
  rig.Poll();
  EXPECT_EQ(logger.NumCPUs(), 1);
  EXPECT_FALSE(logger.HWiPollingFirstRun());

  // A second processor appears: ordinary polls keep the model as built.
  rig.Sensor(kCPUSensor, 1);
  rig.Poll();
  EXPECT_EQ(logger.NumCPUs(), 1);

  logger.HWiPollingReset();
  rig.Poll();
  EXPECT_EQ(logger.NumCPUs(), 2);

  rig.PollWithoutHWiNFO();
  EXPECT_EQ(logger.LastHWiPollingStatus(), hwsNoMapping);
  EXPECT_EQ(logger.NumCPUs(), 0);
  EXPECT_EQ(logger.NumGPUs(), 0);
  EXPECT_EQ(logger.NumHardwareDrives(), 0);
  EXPECT_TRUE(logger.HWiPollingFirstRun());

  rig.Sensor(kCPUSensor, 2);
  rig.Poll();
  EXPECT_EQ(logger.NumCPUs(), 3);
}

TEST(HardwareModelRebuild, DriveSensorFoundNeedsAHardwareAndALogicalDrive) {
  TLoggerRig rig;
  rig.Sensor(kDriveSensor, 0, "Disk");
  EXPECT_FALSE(rig.Poll().DriveSensorFound());  // no logical drive yet

  rig.Fakes.SystemInfo.Drives.push_back(TQD_DRVMTR_ALogicalDrive{true, 0, "C:\\", "System", 1, 1, 0});
  rig.Get().InternalPolling();
  EXPECT_TRUE(rig.Get().DriveSensorFound());
}

}  // namespace
