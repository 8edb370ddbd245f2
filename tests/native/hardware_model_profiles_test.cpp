// The hardware model of sensorfeed's built-in machines: what the CPU, GPU and
// drive windows will find on a hybrid Intel desktop, an AMD desktop with two
// CCDs and a two-socket server.
#include <gtest/gtest.h>

#include <set>

#include "logger_rig.h"
#include "sim/profiles.h"

namespace {

// A rig whose block and processor counts are those of a profile.
TQD_DataLogger& PollProfile(TLoggerRig& ARig, const std::string& AName, uint32_t AManualVRAM = 0) {
  TSF_Profile p;
  EXPECT_TRUE(MakeProfile(AName, p)) << AName;
  ARig.Fakes.SystemInfo.CPU = p.CPUInfo;
  ARig.Block = p.Block;
  ARig.Get().SetGPUMemoryTotalManual(AManualVRAM);
  return ARig.Poll();
}

bool From(const TQD_URID& AURID, uint32_t ASensorID) { return AURID.dwSensorID == ASensorID; }

// Every URID of the model, for checks that hold for all of them.
std::vector<TQD_URID> ModelURIDs(const TQD_DataLogger& ALogger) {
  std::vector<TQD_URID> all;
  for (size_t i = 1; i < ALogger.CPUs().size(); ++i) {
    const TQD_CPUMTR_ACPU& c = ALogger.CPUs()[i];
    all.insert(all.end(), {c.Usage, c.PackagePower, c.Temperature, c.Fanspeed});
    for (const TQD_CPUMTR_ACore& core : c.Cores) {
      all.insert(all.end(), {core.Voltage, core.Power, core.Temperature, core.Clock});
      for (const TQD_CPUMTR_AThread& t : core.HardwareThreads) all.push_back(t.Usage);
    }
  }
  for (size_t i = 1; i < ALogger.GPUs().size(); ++i) {
    const TQD_GPUMTR_AGPU& g = ALogger.GPUs()[i];
    all.insert(all.end(), {g.Usage, g.Voltage, g.Clock, g.Power, g.Temperature, g.Hotspot, g.MemoryAllocated,
                           g.MemoryUsage, g.MemoryClock, g.MemoryTemperature, g.MemoryControllerLoad,
                           g.VideoClock, g.VideoEngineLoad});
    all.insert(all.end(), g.Fans.begin(), g.Fans.end());
  }
  for (size_t i = 1; i < ALogger.HardwareDrives().size(); ++i) {
    const TQD_DRVMTR_AHardwareDrive& d = ALogger.HardwareDrives()[i];
    all.insert(all.end(), {d.ReadActivity, d.ReadRate, d.WriteActivity, d.WriteRate, d.Temperature});
  }
  return all;
}

TEST(HardwareModelProfiles, IntelHybridHasEightPAndFourECores) {
  TLoggerRig rig;
  TQD_DataLogger& logger = PollProfile(rig, "intel-hybrid", 1);
  ASSERT_EQ(logger.LastHWiPollingStatus(), hwsOK);
  EXPECT_EQ(logger.CPUInfo().NumPhysicalCores, 12u);
  ASSERT_EQ(logger.NumCPUs(), 1);
  const TQD_CPUMTR_ACPU& cpu = logger.CPUs()[1];
  EXPECT_EQ(cpu.Instance, 0u);
  EXPECT_FALSE(URIDIsEmpty(cpu.Fanspeed));
  ASSERT_EQ(cpu.Cores.size(), 12u);
  for (size_t c = 0; c < 12; ++c) {
    const TQD_CPUMTR_ACore& core = cpu.Cores[c];
    const bool p = c < 8;
    EXPECT_EQ(core.IsPCore, p) << c;
    EXPECT_EQ(core.IsECore, !p) << c;
    ASSERT_EQ(core.HardwareThreads.size(), p ? 2u : 1u) << c;
    for (const TQD_CPUMTR_AThread& t : core.HardwareThreads) {
      EXPECT_TRUE(From(t.Usage, 0xF0000300)) << c;
      EXPECT_EQ(t.Usage.dwSensorInst, 0u);
    }
  }

  ASSERT_EQ(logger.NumGPUs(), 1);
  const TQD_GPUMTR_AGPU& gpu = logger.GPUs()[1];
  EXPECT_EQ(gpu.Vendor, 3u);
  EXPECT_TRUE(From(gpu.MemoryAllocated, 0xE0002000));
  EXPECT_TRUE(From(gpu.MemoryUsage, 0xE0002000));
  EXPECT_GT(gpu.MemoryTotal, 7900u);  // derived from the readings, not the manual 1
  EXPECT_LT(gpu.MemoryTotal, 8500u);
  EXPECT_EQ(gpu.Fans.size(), 3u);
  EXPECT_EQ(logger.NumHardwareDrives(), 2);
}

TEST(HardwareModelProfiles, AMDDesktopHasSixteenCoresInTwoCCDs) {
  TLoggerRig rig;
  TQD_DataLogger& logger = PollProfile(rig, "amd-desktop", 4096);
  ASSERT_EQ(logger.LastHWiPollingStatus(), hwsOK);
  EXPECT_EQ(logger.CPUInfo().Vendor, 2u);  // the CPU window shows CCDs for AMD only
  ASSERT_EQ(logger.NumCPUs(), 1);
  const TQD_CPUMTR_Cores& cores = logger.CPUs()[1].Cores;
  ASSERT_EQ(cores.size(), 16u);
  std::set<int> ccds;
  for (size_t c = 0; c < cores.size(); ++c) {
    EXPECT_TRUE(cores[c].CCD == 1 || cores[c].CCD == 2) << "core " << c << " CCD " << cores[c].CCD;
    EXPECT_TRUE(From(cores[c].Temperature, 0xF0000501)) << c;
    EXPECT_FALSE(cores[c].IsPCore || cores[c].IsECore) << c;
    ccds.insert(cores[c].CCD);
  }
  EXPECT_EQ(ccds.size(), 2u);

  ASSERT_EQ(logger.NumGPUs(), 1);
  EXPECT_EQ(logger.GPUs()[1].Vendor, 2u);
  EXPECT_EQ(logger.GPUs()[1].MemoryTotal, 4096u);  // only NVIDIA totals are derived
  EXPECT_EQ(logger.NumHardwareDrives(), 1);
}

TEST(HardwareModelProfiles, ServerHasTwoPackagesAndNoGPU) {
  TLoggerRig rig;
  TQD_DataLogger& logger = PollProfile(rig, "server");
  ASSERT_EQ(logger.LastHWiPollingStatus(), hwsOK);
  ASSERT_EQ(logger.NumCPUs(), 2);
  EXPECT_EQ(logger.CPUs()[1].Instance, 0u);
  EXPECT_EQ(logger.CPUs()[2].Instance, 1u);
  for (int i : {1, 2}) {
    const TQD_CPUMTR_ACPU& cpu = logger.CPUs()[static_cast<size_t>(i)];
    EXPECT_FALSE(cpu.Cores.empty()) << "CPU " << i;
    for (const TQD_CPUMTR_ACore& core : cpu.Cores)
      for (const TQD_CPUMTR_AThread& t : core.HardwareThreads)
        if (!URIDIsEmpty(t.Usage)) {
          EXPECT_EQ(t.Usage.dwSensorInst, cpu.Instance);
        }
  }
  EXPECT_EQ(logger.NumGPUs(), 0);
  EXPECT_FALSE(logger.GPUSensorFound());
  EXPECT_EQ(logger.NumHardwareDrives(), 4);
}

TEST(HardwareModelProfiles, EveryModelURIDNamesAReadingAcrossPolls) {
  EXPECT_EQ(ProfileNames().size(), 3u);
  TSF_Profile unknown;
  EXPECT_FALSE(MakeProfile("no-such-machine", unknown));
  for (const std::string& name : ProfileNames()) {
    TLoggerRig rig;
    TSF_Profile p;
    ASSERT_TRUE(MakeProfile(name, p));
    rig.Fakes.SystemInfo.CPU = p.CPUInfo;
    rig.Block = p.Block;
    rig.Poll();
    const std::vector<TQD_URID> before = ModelURIDs(rig.Get());
    // Values move from tick to tick; the model, built once, stays valid.
    for (uint64_t tick = 1; tick <= 3; ++tick) {
      AdvanceProfile(p, tick, 2000);
      rig.Block = p.Block;
      TQD_DataLogger& logger = rig.Poll();
      EXPECT_EQ(ModelURIDs(logger), before) << name;
      for (const TQD_URID& u : before)
        if (!URIDIsEmpty(u)) {
          EXPECT_GT(logger.GetReadingIndex(u), 0) << name << " " << URIDToText(u);
          EXPECT_NE(logger.FormatValue(u, dcsValue), "-") << name << " " << URIDToText(u);
        }
    }
  }
}

}  // namespace
