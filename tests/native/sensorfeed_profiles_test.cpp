// sensorfeed's portable parts: the machine profiles (what the block carries,
// what the hardware model makes of it, how values move), the command line,
// the recording length and the dump text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>
#include <tuple>

#include "sim/block_writer.h"
#include "sensorfeed/command_line.h"
#include "collector/data_logger.h"
#include "sensorfeed/dump_text.h"
#include "sim/fake_ports.h"
#include "sim/profiles.h"
#include "sensorfeed/recording.h"
#include "collector/units.h"

namespace {

const std::string kCelsius = "\xC2\xB0" "C";

TSF_Profile Profile(const std::string& AName) {
  TSF_Profile p;
  EXPECT_TRUE(MakeProfile(AName, p)) << AName;
  return p;
}

// A data logger that has polled the profile's block once, on a machine whose
// processor counts are the profile's.
struct TProfileLogger {
  TFakeCollector Ports;
  std::unique_ptr<TQD_DataLogger> Logger;
  explicit TProfileLogger(const TSF_Profile& AProfile, uint32_t AManualVRAM = 4096) {
    Ports.SystemInfo.CPU = AProfile.CPUInfo;
    Ports.SharedMemory.Block = WriteBlock(AProfile.Block);
    Logger = std::make_unique<TQD_DataLogger>(Ports.Ports(), false, 180, 2000);
    Logger->SetGPUMemoryTotalManual(AManualVRAM);
    Logger->HWiPolling();
  }
  const TQD_DataLogger& operator*() const { return *Logger; }
  const TQD_DataLogger* operator->() const { return Logger.get(); }
};

std::string PrintToText(const TQD_DataLogger& ALogger) {
  std::FILE* f = std::tmpfile();
  PrintSnapshot(ALogger, f);
  std::string text(static_cast<size_t>(std::ftell(f)), '\0');
  std::rewind(f);
  text.resize(std::fread(text.data(), 1, text.size(), f));
  std::fclose(f);
  return text;
}

const TQD_ReadingsListItem& ReadingOf(const TQD_DataLogger& ALogger, const TQD_URID& AURID) {
  return ALogger.ReadingList()[static_cast<size_t>(ALogger.GetReadingIndex(AURID))];
}

}  // namespace

// --- what the block carries -------------------------------------------------------

TEST(SensorfeedProfiles, EveryProfileReadsBackCleanlyWithItsElementSizes) {
  const std::vector<std::string> names = ProfileNames();
  ASSERT_EQ(names, (std::vector<std::string>{"intel-hybrid", "amd-desktop", "server"}));
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const TSF_Profile p = Profile(name);
    const std::vector<uint8_t> block = WriteBlock(p.Block);
    uint32_t sensorSize, readingSize;
    std::memcpy(&sensorSize, block.data() + hwinfo_sm2::kOffSensorSize, 4);
    std::memcpy(&readingSize, block.data() + hwinfo_sm2::kOffReadingSize, 4);
    const bool amd = name == "amd-desktop";
    EXPECT_EQ(sensorSize, amd ? 392u : 264u);
    EXPECT_EQ(readingSize, amd ? 460u : 316u);

    TQD_SensorList sensors;
    TQD_ReadingsList readings;
    uint8_t status = hwsNotPolled;
    double pollTime = 0;
    ReadHWiNFOSnapshot(block.data(), block.size(), DecodeWindows1252, sensors, readings, status, pollTime);
    ASSERT_EQ(status, hwsOK);
    ASSERT_EQ(sensors.size(), p.Block.Sensors.size());
    ASSERT_EQ(readings.size(), p.Block.Readings.size() + 1);
    EXPECT_EQ(p.Motion.size(), p.Block.Readings.size());

    // LoadProfileLists gives exactly what a poll of the block gives.
    TQD_SensorList s2;
    TQD_ReadingsList r2;
    LoadProfileLists(p, s2, r2);
    ASSERT_EQ(r2.size(), readings.size());
    for (size_t i = 1; i < readings.size(); ++i) {
      EXPECT_EQ(r2[i].URID(), readings[i].URID());
      EXPECT_EQ(r2[i].szLabelOrig, readings[i].szLabelOrig);
    }

    std::set<std::tuple<uint32_t, uint32_t, uint32_t>> seen;
    int celsius = 0;
    for (size_t i = 1; i < readings.size(); ++i) {
      const TQD_ReadingsListItem& r = readings[i];
      const TSF_Reading& src = p.Block.Readings[i - 1];
      // A duplicate URID would hide the second reading from every lookup.
      EXPECT_TRUE(seen.insert({r.dwSensorID, r.dwSensorInst, r.dwReadingID}).second)
          << URIDToText(r.URID()) << " " << r.szLabelOrig;
      EXPECT_EQ(r.szLabelOrig, src.szLabelOrig);
      EXPECT_EQ(r.szUnit, src.szUnit);  // UTF-8 → Windows-1252 → UTF-8, "°C" included
      EXPECT_LT(r.szLabelOrig.size(), hwinfo_sm2::kLabelLength);
      EXPECT_GE(r.tReading, 1u);
      EXPECT_LE(r.tReading, 8u);
      // Every unit is one the formatting knows, except the count without a unit.
      if (!r.szUnit.empty()) { EXPECT_NE(FindHWiNFOUnit(r.szUnit.c_str()), unitNone) << r.szUnit; }
      if (r.szUnit == kCelsius) {
        ++celsius;
        EXPECT_EQ(r.tReading, SENSOR_TYPE_TEMP) << r.szLabelOrig;
      }
      if (r.tReading == SENSOR_TYPE_FAN) { EXPECT_EQ(r.szUnit, "RPM") << r.szLabelOrig; }
    }
    EXPECT_GT(celsius, 10);
  }
}

TEST(SensorfeedProfiles, ProfilesTogetherUseEveryUnitHWiNFOWrites) {
  std::set<int> units;
  for (const std::string& name : ProfileNames())
    for (const TSF_Reading& r : Profile(name).Block.Readings) units.insert(FindHWiNFOUnit(r.szUnit.c_str()));
  // All but Fahrenheit, which HWiNFO only writes when the user asks for it.
  for (int u = 0; u < kHWiNFOUnitCount; ++u)
    if (u != unitFahrenheit) { EXPECT_TRUE(units.count(u)) << HWiNFOUnits[u].Unit; }
}

TEST(SensorfeedProfiles, UnknownProfileNameIsRefused) {
  TSF_Profile p;
  p.Name = "untouched";
  EXPECT_FALSE(MakeProfile("laptop", p));
  EXPECT_FALSE(MakeProfile("", p));
  EXPECT_EQ(p.Name, "untouched");
}

// --- what the hardware model makes of it --------------------------------------------

TEST(SensorfeedProfiles, IntelHybridExercisesThePAndECoreRulesAndTheNvidiaGPU) {
  const TSF_Profile p = Profile("intel-hybrid");
  EXPECT_EQ(p.CPUInfo.Vendor, 1u);
  EXPECT_EQ(p.CPUInfo.NumCPUs, 1u);
  EXPECT_EQ(p.CPUInfo.NumPhysicalCores, 12u);
  EXPECT_EQ(p.CPUInfo.NumLogicalProcessors, 20u);
  TProfileLogger l(p);
  ASSERT_EQ(l->LastHWiPollingStatus(), hwsOK);
  ASSERT_EQ(l->NumCPUs(), 1);
  const TQD_CPUMTR_ACPU& cpu = l->CPUs()[1];
  EXPECT_EQ(ReadingOf(*l, cpu.Usage).szLabelOrig, "Total CPU Usage");
  EXPECT_EQ(ReadingOf(*l, cpu.PackagePower).szLabelOrig, "CPU Package Power");
  EXPECT_EQ(ReadingOf(*l, cpu.Temperature).szLabelOrig, "CPU Package");
  // The motherboard's "CPU" temperature is no fan; its "CPU" fan comes before "CPU_OPT".
  EXPECT_EQ(ReadingOf(*l, cpu.Fanspeed).szLabelOrig, "CPU");
  EXPECT_EQ(ReadingOf(*l, cpu.Fanspeed).tReading, SENSOR_TYPE_FAN);
  ASSERT_EQ(cpu.Cores.size(), 12u);
  int threads = 0;
  for (size_t c = 0; c < 12; ++c) {
    SCOPED_TRACE(c);
    const TQD_CPUMTR_ACore& core = cpu.Cores[c];
    EXPECT_EQ(core.IsPCore, c < 8);
    EXPECT_EQ(core.IsECore, c >= 8);
    EXPECT_EQ(core.HardwareThreads.size(), c < 8 ? 2u : 1u);
    EXPECT_EQ(core.CCD, -1);  // temperature labels without a CCD
    for (const TQD_URID& u : {core.Voltage, core.Power, core.Temperature, core.Clock}) EXPECT_FALSE(URIDIsEmpty(u));
    const std::string name = (c < 8 ? "P-core " : "E-core ") + std::to_string(c);
    EXPECT_EQ(ReadingOf(*l, core.Clock).szLabelOrig, name + " Clock");
    EXPECT_EQ(ReadingOf(*l, core.Temperature).szLabelOrig, name);
    EXPECT_EQ(ReadingOf(*l, core.HardwareThreads[0].Usage).szLabelOrig, name + " T0 Usage");
    threads += static_cast<int>(core.HardwareThreads.size());
  }
  EXPECT_EQ(threads, 20);

  ASSERT_EQ(l->NumGPUs(), 1);
  const TQD_GPUMTR_AGPU& gpu = l->GPUs()[1];
  EXPECT_EQ(gpu.Vendor, 3u);
  EXPECT_EQ(gpu.GPUName, "NVIDIA GeForce RTX 3070 ");
  for (const TQD_URID& u : {gpu.Usage, gpu.Voltage, gpu.Clock, gpu.Power, gpu.Temperature, gpu.Hotspot,
                            gpu.MemoryAllocated, gpu.MemoryUsage, gpu.MemoryClock, gpu.MemoryTemperature,
                            gpu.MemoryControllerLoad, gpu.VideoClock, gpu.VideoEngineLoad})
    EXPECT_FALSE(URIDIsEmpty(u)) << URIDToText(u);
  EXPECT_EQ(gpu.Fans.size(), 3u);
  EXPECT_EQ(gpu.MemoryTotal, 8192u);  // from allocated and usage, not the manual 4096

  ASSERT_EQ(l->NumHardwareDrives(), 2);
  for (int d = 1; d <= 2; ++d) {
    const TQD_DRVMTR_AHardwareDrive& drive = l->HardwareDrives()[static_cast<size_t>(d)];
    EXPECT_EQ(drive.Instance, static_cast<uint32_t>(d - 1));
    for (const TQD_URID& u : {drive.ReadActivity, drive.ReadRate, drive.WriteActivity, drive.WriteRate})
      EXPECT_EQ(u.dwSensorInst, drive.Instance);
    // Both drives list both temperatures (in either order): 0x01000000 wins.
    EXPECT_EQ(drive.Temperature, TQD_URID::CreateNew(0xF0000100, drive.Instance, 0x01000000));
  }
  // The drive monitor shows the name the user gave the first drive.
  EXPECT_EQ(l->HardwareDrives()[1].Name, "System");
  EXPECT_EQ(l->HardwareDrives()[2].Name, "Drive: WD_BLACK SN770 2TB (22361K801234)");
}

TEST(SensorfeedProfiles, AmdDesktopExercisesCCDsAndTheSecondGPULayout) {
  const TSF_Profile p = Profile("amd-desktop");
  EXPECT_EQ(p.CPUInfo.Vendor, 2u);
  TProfileLogger l(p, 16384);
  ASSERT_EQ(l->LastHWiPollingStatus(), hwsOK);
  ASSERT_EQ(l->NumCPUs(), 1);
  const TQD_CPUMTR_ACPU& cpu = l->CPUs()[1];
  ASSERT_EQ(cpu.Cores.size(), 16u);
  for (size_t c = 0; c < 16; ++c) {
    SCOPED_TRACE(c);
    EXPECT_EQ(cpu.Cores[c].CCD, c < 8 ? 1 : 2);
    EXPECT_FALSE(cpu.Cores[c].IsPCore || cpu.Cores[c].IsECore);
    EXPECT_EQ(cpu.Cores[c].HardwareThreads.size(), 2u);
    EXPECT_FALSE(URIDIsEmpty(cpu.Cores[c].Clock));
    EXPECT_FALSE(URIDIsEmpty(cpu.Cores[c].Power));
  }
  EXPECT_EQ(ReadingOf(*l, cpu.Cores[3].Temperature).szLabelOrig, "Core 3 (CCD1)");
  EXPECT_EQ(ReadingOf(*l, cpu.Fanspeed).szLabelOrig, "CPU Fan");
  ASSERT_EQ(l->NumGPUs(), 1);
  const TQD_GPUMTR_AGPU& gpu = l->GPUs()[1];
  EXPECT_EQ(gpu.Vendor, 2u);
  EXPECT_EQ(gpu.Power.dwReadingID, 0x05000008u);  // not the core rail at 0x05000000
  EXPECT_EQ(gpu.MemoryAllocated.dwReadingID, 0x08000004u);
  EXPECT_TRUE(URIDIsEmpty(gpu.MemoryUsage));
  EXPECT_EQ(gpu.MemoryTotal, 16384u);  // not NVIDIA: the manual setting
  EXPECT_EQ(gpu.Fans.size(), 1u);
  EXPECT_EQ(l->NumHardwareDrives(), 1);
}

TEST(SensorfeedProfiles, ServerHasTwoPackagesFourDrivesNoGPUAndAboutTwoThousandReadings) {
  const TSF_Profile p = Profile("server");
  EXPECT_EQ(p.CPUInfo.NumCPUs, 2u);
  EXPECT_GE(p.Block.Readings.size(), 1900u);
  EXPECT_LE(p.Block.Readings.size(), 2100u);
  TProfileLogger l(p);
  ASSERT_EQ(l->LastHWiPollingStatus(), hwsOK);
  ASSERT_EQ(l->NumCPUs(), 2);
  EXPECT_EQ(l->CPUs()[1].Instance, 0u);
  EXPECT_EQ(l->CPUs()[2].Instance, 1u);
  for (int c = 1; c <= 2; ++c) {
    const TQD_CPUMTR_ACPU& cpu = l->CPUs()[static_cast<size_t>(c)];
    ASSERT_EQ(cpu.Cores.size(), 56u);
    // Instance 1's enhanced sensor feeds the second CPU.
    EXPECT_EQ(cpu.PackagePower, TQD_URID::CreateNew(0xF0000501, cpu.Instance, 0x05000000));
    EXPECT_EQ(cpu.Cores[55].Temperature.dwSensorInst, cpu.Instance);
    EXPECT_EQ(cpu.Cores[55].HardwareThreads.size(), 2u);
  }
  EXPECT_EQ(ReadingOf(*l, l->CPUs()[1].Fanspeed).szLabelOrig, "CPU1 Zone Fan");
  EXPECT_TRUE(URIDIsEmpty(l->CPUs()[2].Fanspeed));
  EXPECT_EQ(l->NumGPUs(), 0);
  ASSERT_EQ(l->NumHardwareDrives(), 4);
  // The third drive only has the second temperature reading: it is taken.
  EXPECT_EQ(l->HardwareDrives()[3].Temperature.dwReadingID, 0x01000001u);
  EXPECT_EQ(l->HardwareDrives()[4].Temperature.dwReadingID, 0x01000000u);
}

// --- the host machine ------------------------------------------------------------

namespace {

TSF_HostFigures Figures(uint32_t AVendor, uint32_t APackages, uint32_t ACores, uint32_t AThreads,
                        const std::string& ABrand = "") {
  TSF_HostFigures f;
  f.CPUInfo = TQD_CPUINFO{AVendor, APackages, ACores, AThreads};
  f.Brand = ABrand;
  f.RAMInfo.TotalReported = uint64_t{8} << 30;
  return f;
}

TSF_Profile HostProfile(const TSF_HostFigures& AFigures) {
  TSF_Profile p;
  MakeHostProfile(AFigures, p);
  return p;
}

}  // namespace

TEST(HostProfile, EveryCoreTheCountsGiveShowsReadingsOnAMachineWithThoseCounts) {
  struct TCase {
    TSF_HostFigures Figures;
    std::vector<size_t> CoresPerPackage;
    std::vector<size_t> ThreadsPerCore;  // of the first package's cores
    bool Hybrid;
  };
  const TCase cases[] = {
      {Figures(1, 1, 2, 4), {2}, {2, 2}, false},
      {Figures(2, 1, 2, 2, "AMD EPYC"), {2}, {1, 1}, false},
      {Figures(2, 2, 16, 32), {8, 8}, std::vector<size_t>(8, 2), false},
      {Figures(1, 1, 12, 20), {12}, {2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1}, true},
      {Figures(0, 2, 5, 5), {3, 2}, {1, 1, 1}, false},
  };
  for (const TCase& k : cases) {
    const TQD_CPUINFO& info = k.Figures.CPUInfo;
    SCOPED_TRACE(std::to_string(info.Vendor) + "/" + std::to_string(info.NumCPUs) + "/" +
                 std::to_string(info.NumPhysicalCores) + "/" + std::to_string(info.NumLogicalProcessors));
    const TSF_Profile p = HostProfile(k.Figures);
    // The logger runs on the machine the figures describe, not on the profile's own copy of them.
    TFakeCollector ports;
    ports.SystemInfo.CPU = info;
    ports.SharedMemory.Block = WriteBlock(p.Block);
    TQD_DataLogger l(ports.Ports(), false, 180, 2000);
    l.HWiPolling();
    ASSERT_EQ(l.LastHWiPollingStatus(), hwsOK);
    ASSERT_EQ(l.NumCPUs(), static_cast<int>(k.CoresPerPackage.size()));
    size_t threads = 0;
    for (size_t c = 1; c < l.CPUs().size(); ++c) {
      const TQD_CPUMTR_ACPU& cpu = l.CPUs()[c];
      ASSERT_EQ(cpu.Cores.size(), k.CoresPerPackage[c - 1]);
      for (size_t i = 0; i < cpu.Cores.size(); ++i) {
        SCOPED_TRACE("CPU " + std::to_string(c) + " core " + std::to_string(i));
        const TQD_CPUMTR_ACore& core = cpu.Cores[i];
        for (const TQD_URID& u : {core.Clock, core.Temperature, core.Power, core.Voltage})
          EXPECT_NE(l.FormatValue(u, dcsValue), "-") << URIDToText(u);
        for (const TQD_CPUMTR_AThread& t : core.HardwareThreads) EXPECT_NE(l.FormatValue(t.Usage, dcsValue), "-");
        if (c == 1) { EXPECT_EQ(core.HardwareThreads.size(), k.ThreadsPerCore[i]); }
        EXPECT_EQ(core.IsPCore, k.Hybrid && core.HardwareThreads.size() == 2);
        EXPECT_EQ(core.IsECore, k.Hybrid && core.HardwareThreads.size() == 1);
        EXPECT_EQ(core.CCD, info.Vendor == 2 ? static_cast<int>(i / 8 + 1) : -1);
        threads += core.HardwareThreads.size();
      }
      for (const TQD_URID& u : {cpu.Usage, cpu.Temperature, cpu.PackagePower})
        EXPECT_NE(l.FormatValue(u, dcsValue), "-") << URIDToText(u);
    }
    EXPECT_EQ(threads, info.NumLogicalProcessors);
    EXPECT_FALSE(URIDIsEmpty(l.CPUs()[1].Fanspeed));
    ASSERT_EQ(l.NumGPUs(), 1);
    EXPECT_EQ(l.GPUs()[1].MemoryTotal, 8192u);
    EXPECT_EQ(l.NumHardwareDrives(), 2);
  }
}

TEST(HostProfile, ProcessorIsNamedFromTheBrandStringLikeASensorProgramNamesIt) {
  const std::pair<TSF_HostFigures, std::string> cases[] = {
      {Figures(1, 1, 6, 12, "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz"), "Intel Core i7-8700"},
      {Figures(1, 2, 28, 56, "       Intel(R) Xeon(R) CPU E5-2680 v4 @ 2.40GHz"), "Intel Xeon E5-2680 v4"},
      {Figures(2, 1, 16, 32, std::string("AMD Ryzen 9 5950X 16-Core Processor  \0\0\0", 41)), "AMD Ryzen 9 5950X"},
      {Figures(2, 1, 2, 2, "AMD EPYC"), "AMD EPYC"},
      {Figures(2, 1, 2, 2, std::string(48, ' ')), "AMD processor"},
      {Figures(0, 1, 2, 2), "Processor"},
  };
  for (const auto& [figures, name] : cases) {
    bool found = false;
    for (const TSF_Sensor& s : HostProfile(figures).Block.Sensors) found |= s.szSensorNameOrig == "CPU [#0]: " + name;
    EXPECT_TRUE(found) << name;
  }
}

TEST(HostProfile, SameFiguresGiveTheSameBlockAndCountsOfZeroCountAsOne) {
  const TSF_HostFigures f = Figures(2, 1, 8, 16, "AMD Ryzen 7 5800X 8-Core Processor");
  TSF_Profile a = HostProfile(f), b = HostProfile(f);
  for (uint64_t tick = 1; tick <= 3; ++tick) {
    EXPECT_EQ(WriteBlock(a.Block), WriteBlock(b.Block));
    AdvanceProfile(a, tick, 1000);
    AdvanceProfile(b, tick, 1000);
  }
  const TSF_Profile none = HostProfile(Figures(1, 0, 0, 0));
  const TQD_CPUINFO& counts = none.CPUInfo;
  EXPECT_EQ((std::vector<uint32_t>{counts.NumCPUs, counts.NumPhysicalCores, counts.NumLogicalProcessors}),
            std::vector<uint32_t>(3, 1));
  TProfileLogger l(none);
  ASSERT_EQ(l->NumCPUs(), 1);
  EXPECT_EQ(l->CPUs()[1].Cores.size(), 1u);
}

// --- how values move --------------------------------------------------------------

TEST(SensorfeedProfiles, ValuesMoveWithinPlausibleRangesAndKeepMinMaxAvg) {
  std::vector<TSF_Profile> profiles;
  for (const std::string& name : ProfileNames()) profiles.push_back(Profile(name));
  profiles.push_back(HostProfile(Figures(1, 1, 12, 20, "12th Gen Intel(R) Core(TM) i7-12700K")));
  for (TSF_Profile& p : profiles) {
    SCOPED_TRACE(p.Name);
    const int64_t start = p.Block.PollTime;
    const std::vector<TSF_Reading> first = p.Block.Readings;
    size_t moved = 0, moving = 0;
    for (uint64_t tick = 1; tick <= 120; ++tick) {
      AdvanceProfile(p, tick, 500);
      for (size_t i = 0; i < p.Block.Readings.size(); ++i) {
        const TSF_Reading& r = p.Block.Readings[i];
        ASSERT_TRUE(std::isfinite(r.Value)) << r.szLabelOrig;
        ASSERT_LE(r.ValueMin, r.Value) << r.szLabelOrig;
        ASSERT_GE(r.ValueMax, r.Value) << r.szLabelOrig;
        ASSERT_LE(r.ValueMin, r.ValueAvg + 1e-9) << r.szLabelOrig;
        ASSERT_GE(r.ValueMax, r.ValueAvg - 1e-9) << r.szLabelOrig;
        if (r.szUnit == "%") {
          ASSERT_GE(r.Value, 0) << r.szLabelOrig;
          ASSERT_LE(r.Value, 100) << r.szLabelOrig;
        }
        if (r.szUnit == kCelsius) {
          ASSERT_GE(r.Value, 10) << r.szLabelOrig;
          ASSERT_LE(r.Value, 105) << r.szLabelOrig;
        }
        if (r.szUnit == "Yes/No") { ASSERT_TRUE(r.Value == 0 || r.Value == 1) << r.szLabelOrig; }
        if (r.tReading == SENSOR_TYPE_FAN || r.tReading == SENSOR_TYPE_POWER || r.tReading == SENSOR_TYPE_CLOCK) {
          ASSERT_GE(r.Value, 0) << r.szLabelOrig;
        }
      }
    }
    for (size_t i = 0; i < p.Motion.size(); ++i)
      if (p.Motion[i].Kind == smFollow || p.Motion[i].Kind == smLagged) {
        ++moving;
        if (p.Block.Readings[i].ValueMax > p.Block.Readings[i].ValueMin) ++moved;
      }
    // 120 ticks of 500 ms: a minute.
    EXPECT_EQ(p.Block.PollTime, start + 60);
    EXPECT_GT(moving, p.Motion.size() / 2);
    EXPECT_GT(moved, moving * 9 / 10);
    // Counters only grow.
    for (size_t i = 0; i < p.Motion.size(); ++i)
      if (p.Motion[i].Kind == smCounter) { EXPECT_GE(p.Block.Readings[i].Value, first[i].Value); }
  }
}

TEST(SensorfeedProfiles, AdvancingIsDeterministicPerTick) {
  TSF_Profile a = Profile("intel-hybrid"), b = Profile("intel-hybrid");
  for (uint64_t t = 1; t <= 5; ++t) {
    AdvanceProfile(a, t, 1000);
    AdvanceProfile(b, t, 1000);
  }
  size_t differ = 0;
  for (size_t i = 0; i < a.Block.Readings.size(); ++i) {
    EXPECT_EQ(a.Block.Readings[i].Value, b.Block.Readings[i].Value);
    EXPECT_EQ(a.Block.Readings[i].ValueAvg, b.Block.Readings[i].ValueAvg);
  }
  // A different tick is a different moment.
  AdvanceProfile(a, 6, 1000);
  AdvanceProfile(b, 600, 1000);
  for (size_t i = 0; i < a.Block.Readings.size(); ++i) differ += a.Block.Readings[i].Value != b.Block.Readings[i].Value;
  EXPECT_GT(differ, a.Block.Readings.size() / 2);
  for (uint32_t d = 0; d < a.Drivers.size(); ++d)
    for (int64_t t : {-3, 0, 7, 123456}) {
      const double v = DriverValue(a, d, t);
      EXPECT_GE(v, 0);
      EXPECT_LE(v, 1);
      EXPECT_EQ(v, DriverValue(b, d, t));
    }
}

TEST(SensorfeedProfiles, NvidiaMemoryStaysConsistentWithTheCardSizeAsItMoves) {
  TSF_Profile p = Profile("intel-hybrid");
  const TSF_Reading* allocated = nullptr;
  const TSF_Reading* usage = nullptr;
  for (const TSF_Reading& r : p.Block.Readings) {
    if (r.dwReadingID == 0x080000FC) allocated = &r;
    if (r.dwReadingID == 0x07000008 && p.Block.Sensors[r.dwSensorIndex].dwSensorID == 0xE0002000) usage = &r;
  }
  ASSERT_TRUE(allocated && usage);
  std::set<double> seen;
  for (uint64_t t = 1; t <= 60; ++t) {
    AdvanceProfile(p, t, 1000);
    ASSERT_GT(usage->Value, 0);
    EXPECT_EQ(std::nearbyint(allocated->Value / usage->Value * 100), 8192);
    seen.insert(allocated->Value);
  }
  EXPECT_GT(seen.size(), 10u);
  // And so does the model built from a later poll.
  TProfileLogger l(p);
  EXPECT_EQ(l->GPUs()[1].MemoryTotal, 8192u);
}

// --- command line -----------------------------------------------------------------

TEST(SensorfeedCommandLine, CommandsOptionsAndTheirMistakes) {
  TSF_Options o;
  std::string err;
  ASSERT_TRUE(ParseCommandLine({}, o, err));
  EXPECT_EQ(o.Command, TSF_Command::Help);
  ASSERT_TRUE(ParseCommandLine({"--help"}, o, err));
  EXPECT_EQ(o.Command, TSF_Command::Help);

  ASSERT_TRUE(ParseCommandLine({"publish"}, o, err));
  EXPECT_EQ(o.Command, TSF_Command::Publish);
  EXPECT_EQ(o.Profile, "host");
  EXPECT_EQ(o.IntervalMs, 1000u);
  ASSERT_TRUE(ParseCommandLine({"publish", "--profile", "host"}, o, err));
  EXPECT_EQ(o.Profile, "host");
  ASSERT_TRUE(ParseCommandLine({"publish", "--profile", "server", "--interval", "250", "--stop-event", "Local\\x"}, o, err));
  EXPECT_EQ(o.Profile, "server");
  EXPECT_EQ(o.IntervalMs, 250u);
  EXPECT_EQ(o.StopEvent, "Local\\x");

  EXPECT_FALSE(ParseCommandLine({"publish", "--profile", "laptop"}, o, err));
  EXPECT_NE(err.find("host, intel-hybrid, amd-desktop, server"), std::string::npos) << err;
  for (const char* bad : {"19", "60001", "1e3", "", "-5", "99999999999"})
    EXPECT_FALSE(ParseCommandLine({"publish", "--interval", bad}, o, err)) << bad;
  EXPECT_FALSE(ParseCommandLine({"publish", "--interval"}, o, err));
  EXPECT_FALSE(ParseCommandLine({"publish", "--profile"}, o, err));
  EXPECT_FALSE(ParseCommandLine({"publish", "extra"}, o, err));

  ASSERT_TRUE(ParseCommandLine({"record", "block.bin"}, o, err));
  EXPECT_EQ(o.File, "block.bin");
  EXPECT_FALSE(ParseCommandLine({"record"}, o, err));
  EXPECT_FALSE(ParseCommandLine({"record", "a", "b"}, o, err));
  EXPECT_FALSE(ParseCommandLine({"record", "a", "--interval", "100"}, o, err));  // record has no interval
  ASSERT_TRUE(ParseCommandLine({"replay", "--interval", "100", "b.bin"}, o, err));
  EXPECT_EQ(o.File, "b.bin");
  EXPECT_EQ(o.IntervalMs, 100u);

  // HWiNFO's ways of going, for publish only.
  ASSERT_TRUE(ParseCommandLine({"publish", "--freeze-after", "10", "--dead-after", "20", "--exit-after", "30"}, o, err));
  EXPECT_EQ(std::vector<uint32_t>({o.FreezeAfterS, o.DeadAfterS, o.ExitAfterS}), std::vector<uint32_t>({10, 20, 30}));
  for (const char* bad : {"0", "86401", "x", ""})
    EXPECT_FALSE(ParseCommandLine({"publish", "--freeze-after", bad}, o, err)) << bad;
  EXPECT_FALSE(ParseCommandLine({"replay", "b.bin", "--dead-after", "5"}, o, err));

  ASSERT_TRUE(ParseCommandLine({"dump", "--model", "--system"}, o, err));
  EXPECT_TRUE(o.System && o.Model);
  EXPECT_FALSE(ParseCommandLine({"dump", "--profile", "server"}, o, err));
  EXPECT_FALSE(ParseCommandLine({"serve"}, o, err));
  EXPECT_NE(UsageText().find("sensorfeed publish"), std::string::npos);
}

// --- recording length -------------------------------------------------------------

TEST(SensorfeedRecording, KeepsTheBlockNotThePagePaddingAndNeverMoreThanTheView) {
  const TSF_Profile p = Profile("amd-desktop");
  std::vector<uint8_t> view = WriteBlock(p.Block);
  const size_t length = view.size();
  view.resize((length + 4095) / 4096 * 4096, 0);
  EXPECT_EQ(RecordLength(view.data(), view.size()), length);
  std::memcpy(view.data(), "DEAD", 4);
  EXPECT_EQ(RecordLength(view.data(), view.size()), length);

  // A header that claims more than the view: the whole view, no more.
  std::vector<uint8_t> lying = view;
  std::memcpy(lying.data(), "HWiS", 4);
  const uint32_t huge = 0xFFFFFFFF;
  std::memcpy(lying.data() + hwinfo_sm2::kOffReadingCount, &huge, 4);
  EXPECT_EQ(RecordLength(lying.data(), lying.size()), lying.size());
  // Not a block we know: its header means nothing.
  std::vector<uint8_t> other = view;
  std::memcpy(other.data(), "ABCD", 4);
  EXPECT_EQ(RecordLength(other.data(), other.size()), other.size());
  EXPECT_EQ(RecordLength(view.data(), 10), 10u);
  EXPECT_EQ(RecordLength(nullptr, 0), 0u);
}

// --- dump text --------------------------------------------------------------------

TEST(SensorfeedDump, PrintsStatusSensorsAndReadingsOfAGoodBlock) {
  TProfileLogger l(Profile("intel-hybrid"));
  const std::string text = PrintToText(*l);
  EXPECT_EQ(text.rfind("HWiNFO polling status: 0 (OK", 0), 0u) << text.substr(0, 200);
  EXPECT_NE(text.find("Poll time: 2025-12-01 12:00:00 UTC"), std::string::npos);
  EXPECT_NE(text.find("Sensor 1: CPU [#0]: Intel Core i7-12700K\n"), std::string::npos);
  EXPECT_NE(text.find("Sensor: 0xF0000300 | Instance: 0x0 | Reading: 0x7000801  usage       Total CPU Usage = "),
            std::string::npos);
  EXPECT_NE(text.find("P-core 0 = "), std::string::npos);
  EXPECT_NE(text.find(" " + kCelsius + "  [min "), std::string::npos);
  EXPECT_NE(text.find("Chassis1 (user: Front Intake)"), std::string::npos);
  const TSF_Profile p = Profile("intel-hybrid");
  EXPECT_NE(text.find(std::to_string(p.Block.Sensors.size()) + " sensors, " +
                      std::to_string(p.Block.Readings.size()) + " readings"),
            std::string::npos);
}

TEST(SensorfeedDump, PrintsTheStatusOfMissingDeadAndMalformedBlocks) {
  TFakeCollector ports;
  TQD_DataLogger logger(ports.Ports(), false, 180, 2000);
  logger.HWiPolling();
  EXPECT_NE(PrintToText(logger).find("HWiNFO polling status: 255 (no block"), std::string::npos);

  TSF_Profile p = Profile("intel-hybrid");
  std::memcpy(p.Block.Signature, "DEAD", 4);
  ports.SharedMemory.Block = WriteBlock(p.Block);
  logger.HWiPolling();
  EXPECT_NE(PrintToText(logger).find("HWiNFO polling status: 254 (the block is marked DEAD"), std::string::npos);

  // A reading naming a sensor that does not exist: the others still print.
  std::memcpy(p.Block.Signature, "HWiS", 4);
  p.Block.Readings[2].dwSensorIndex = 999;
  ports.SharedMemory.Block = WriteBlock(p.Block);
  logger.HWiPolling();
  std::string text = PrintToText(logger);
  EXPECT_NE(text.find("HWiNFO polling status: 253 (read error"), std::string::npos);
  EXPECT_NE(text.find("[3] (names a sensor outside the sensor list)"), std::string::npos);
  EXPECT_NE(text.find(p.Block.Readings[3].szLabelOrig + " = "), std::string::npos);

  // A truncated block: the header promises more than there is.
  std::vector<uint8_t> cut = WriteBlock(p.Block);
  cut.resize(cut.size() / 2);
  ports.SharedMemory.Block = cut;
  logger.HWiPolling();
  text = PrintToText(logger);
  EXPECT_NE(text.find("HWiNFO polling status: 253"), std::string::npos);
  EXPECT_NE(text.find("0 sensors, 0 readings"), std::string::npos);
}

TEST(SensorfeedDump, ABlockWhoseHeaderWasRefusedHasNoPollTime) {
  TSF_Profile p = Profile("intel-hybrid");
  const std::vector<uint8_t> good = WriteBlock(p.Block);
  std::vector<uint8_t> cut = good;
  cut.resize(cut.size() / 2);
  std::vector<uint8_t> unknown = good;
  std::memcpy(unknown.data(), "ABCD", 4);
  std::vector<uint8_t> headerOnly(good.begin(), good.begin() + 8);
  for (const std::vector<uint8_t>* block : {&cut, &unknown, &headerOnly}) {
    TFakeCollector ports;
    ports.SharedMemory.Block = *block;
    TQD_DataLogger logger(ports.Ports(), false, 180, 2000);
    logger.HWiPolling();
    const std::string text = PrintToText(logger);
    EXPECT_NE(text.find("HWiNFO polling status: 253"), std::string::npos) << text;
    EXPECT_NE(text.find("Poll time: not known"), std::string::npos) << text;
    EXPECT_EQ(text.find("1899"), std::string::npos) << text;
  }
  // A header that was read gives its time, also when a reading is bad.
  p.Block.Readings[2].dwSensorIndex = 999;
  TFakeCollector ports;
  ports.SharedMemory.Block = WriteBlock(p.Block);
  TQD_DataLogger logger(ports.Ports(), false, 180, 2000);
  logger.HWiPolling();
  EXPECT_NE(PrintToText(logger).find("Poll time: 2025-12-01 12:00:00 UTC"), std::string::npos);
}

TEST(SensorfeedDump, ValueAndDateTexts) {
  EXPECT_EQ(ValueText(4688.3), "4688.3");
  EXPECT_EQ(ValueText(1.23456), "1.235");  // three decimals at most
  EXPECT_EQ(ValueText(0), "0");
  EXPECT_EQ(ValueText(-0.0001), "0");
  EXPECT_EQ(ValueText(12), "12");
  EXPECT_EQ(ValueText(std::nan("")), "nan");
  EXPECT_EQ(DateTimeText(25569.0), "1970-01-01 00:00:00");
  EXPECT_EQ(DateTimeText(UnixSecondsToDateTime(951825599)), "2000-02-29 11:59:59");
  EXPECT_EQ(DateTimeText(UnixSecondsToDateTime(-1)), "1969-12-31 23:59:59");
  EXPECT_EQ(DateTimeText(1e300), "-");
}
