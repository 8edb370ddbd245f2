// The built sensorfeed.exe as a separate process: what it publishes reads
// through the real shared-memory port and the data logger, it stops cleanly
// on its named stop event leaving "DEAD" behind, record and replay keep a
// block byte for byte, and dump reports broken blocks instead of crashing.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sim/block_writer.h"
#include "child_process_win32.h"
#include "collector/data_logger.h"
#include "sim/fake_ports.h"
#include "sim/profiles.h"
#include "collector/shared_memory_win32.h"
#include "collector/system_info_win32.h"
#include "base/win32_handles_win32.h"

namespace {

// Waits until an active block is published; nullptr after ten seconds.
std::unique_ptr<TQD_MappedView> WaitForActiveBlock() {
  TQD_SharedMemoryWin32 port;
  for (int i = 0; i < 200; ++i) {
    std::unique_ptr<TQD_MappedView> view = port.OpenView(hwinfo_sm2::kMappingName);
    if (view && view->Length() >= 4 && std::memcmp(view->Data(), "HWiS", 4) == 0) return view;
    Sleep(50);
  }
  return nullptr;
}

// A data logger over the real shared memory; the other ports are fakes.
struct TRealMemoryLogger {
  TFakeCollector Fakes;
  TQD_SharedMemoryWin32 Memory;
  std::unique_ptr<TQD_DataLogger> Logger;
  explicit TRealMemoryLogger(const TQD_CPUINFO& ACPU) {
    Fakes.SystemInfo.CPU = ACPU;
    TQD_CollectorPorts ports = Fakes.Ports();
    ports.SharedMemory = &Memory;
    Logger = std::make_unique<TQD_DataLogger>(ports, false, 180, 2000);
  }
  TQD_DataLogger* operator->() { return Logger.get(); }
};

TSF_Profile Profile(const char* AName) {
  TSF_Profile p;
  EXPECT_TRUE(MakeProfile(AName, p));
  return p;
}

}  // namespace

TEST(SensorfeedExe, PublishesAMovingBlockRefusesASecondPublisherAndStopsMarkedDead) {
  const TSF_Profile profile = Profile("intel-hybrid");
  TStopEvent stop;
  TChild publisher(L"publish --profile intel-hybrid --interval 50" + stop.Arg());
  std::unique_ptr<TQD_MappedView> held = WaitForActiveBlock();
  ASSERT_TRUE(held) << publisher.Output();
  EXPECT_GE(held->Length(), WriteBlock(profile.Block).size());

  TRealMemoryLogger logger(profile.CPUInfo);
  logger->HWiPolling();
  ASSERT_EQ(logger->LastHWiPollingStatus(), hwsOK);
  ASSERT_EQ(logger->ReadingList().size(), profile.Block.Readings.size() + 1);
  EXPECT_EQ(logger->NumCPUs(), 1);
  ASSERT_EQ(logger->NumGPUs(), 1);
  EXPECT_EQ(logger->GPUs()[1].MemoryTotal, 8192u);
  EXPECT_EQ(logger->NumHardwareDrives(), 2);
  const std::vector<TQD_ReadingsListItem> before = logger->ReadingList();
  Sleep(300);  // several publisher ticks
  logger->HWiPolling();
  ASSERT_EQ(logger->LastHWiPollingStatus(), hwsOK);
  size_t changed = 0;
  for (size_t i = 1; i < before.size(); ++i) changed += before[i].Value != logger->ReadingList()[i].Value;
  EXPECT_GT(changed, before.size() / 3);

  TChild second(L"publish");
  EXPECT_EQ(second.Wait(10000), 1);
  EXPECT_NE(second.Output().find("exists already"), std::string::npos) << second.Output();

  stop.Set();
  EXPECT_EQ(publisher.Wait(10000), 0) << publisher.Output();
  // The view held here outlives the publisher: it shows what it wrote last.
  EXPECT_EQ(std::memcmp(held->Data(), "DEAD", 4), 0);
  logger->HWiPolling();
  EXPECT_EQ(logger->LastHWiPollingStatus(), hwsDead);
  held.reset();
  logger->HWiPolling();
  EXPECT_EQ(logger->LastHWiPollingStatus(), hwsNoMapping);
  EXPECT_NE(publisher.Output().find("marked DEAD"), std::string::npos);
}

TEST(SensorfeedExe, PublishesThisMachineByDefaultWithEveryCoreItsProcessorCountsGive) {
  TStopEvent stop;
  TChild publisher(L"publish --interval 200" + stop.Arg());
  ASSERT_TRUE(WaitForActiveBlock()) << publisher.Output();
  // Quendal's view: the real block and the real processor counts of this machine.
  TFakeCollector fakes;
  TQD_SharedMemoryWin32 memory;
  TQD_SystemInfoWin32 system;
  TQD_CollectorPorts ports = fakes.Ports();
  ports.SharedMemory = &memory;
  ports.SystemInfo = &system;
  TQD_DataLogger logger(ports, false, 180, 2000);
  logger.HWiPolling();
  ASSERT_EQ(logger.LastHWiPollingStatus(), hwsOK);
  const TQD_CPUINFO& info = logger.CPUInfo();
  ASSERT_GT(info.NumPhysicalCores, 0u);
  ASSERT_EQ(logger.NumCPUs(), static_cast<int>(info.NumCPUs));
  size_t cores = 0, threads = 0;
  for (size_t c = 1; c < logger.CPUs().size(); ++c)
    for (const TQD_CPUMTR_ACore& core : logger.CPUs()[c].Cores) {
      for (const TQD_URID& u : {core.Clock, core.Temperature, core.Power, core.Voltage})
        EXPECT_NE(logger.FormatValue(u, dcsValue), "-") << "CPU " << c << " core " << cores;
      ++cores;
      threads += core.HardwareThreads.size();
    }
  EXPECT_EQ(cores, info.NumPhysicalCores);
  EXPECT_EQ(threads, info.NumLogicalProcessors);
  stop.Set();
  EXPECT_EQ(publisher.Wait(10000), 0);
  EXPECT_NE(publisher.Output().find("publishing profile \"host\""), std::string::npos) << publisher.Output();
}

TEST(SensorfeedExe, RecordAndReplayKeepTheBlockByteForByte) {
  const std::wstring first = TempFile(L"first.bin"), second = TempFile(L"second.bin");
  const TSF_Profile profile = Profile("server");
  std::string recorded;
  {
    TStopEvent stop;
    TChild publisher(L"publish --profile server" + stop.Arg());
    ASSERT_TRUE(WaitForActiveBlock()) << publisher.Output();
    TChild record(L"record \"" + first + L"\"");
    ASSERT_EQ(record.Wait(10000), 0) << record.Output();
    stop.Set();
    ASSERT_EQ(publisher.Wait(10000), 0);
    recorded = ReadFileBytes(first);
  }
  // The block's own length, not the page-rounded view.
  ASSERT_EQ(recorded.size(), WriteBlock(profile.Block).size());
  {
    TStopEvent stop;
    TChild replay(L"replay \"" + first + L"\"" + stop.Arg());
    ASSERT_TRUE(WaitForActiveBlock()) << replay.Output();
    TChild record(L"record \"" + second + L"\"");
    ASSERT_EQ(record.Wait(10000), 0) << record.Output();
    TChild dump(L"dump");
    EXPECT_EQ(dump.Wait(10000), 0);
    const std::string text = dump.Output();
    EXPECT_EQ(text.rfind("HWiNFO polling status: 0 (OK", 0), 0u) << text.substr(0, 300);
    EXPECT_NE(text.find(std::to_string(profile.Block.Sensors.size()) + " sensors, " +
                        std::to_string(profile.Block.Readings.size()) + " readings"),
              std::string::npos);
    EXPECT_NE(text.find("CPU [#1]: Intel Xeon Platinum 8480+"), std::string::npos);
    EXPECT_NE(text.find("\xC2\xB0" "C  [min"), std::string::npos);  // UTF-8 out, whatever the ANSI code page
    stop.Set();
    EXPECT_EQ(replay.Wait(10000), 0);
  }
  const std::string replayed = ReadFileBytes(second);
  EXPECT_TRUE(replayed == recorded) << "replayed " << replayed.size() << " bytes, recorded " << recorded.size();
  DeleteFileW(first.c_str());
  DeleteFileW(second.c_str());
}

TEST(SensorfeedExe, DumpReportsMissingAndMalformedBlocksAndBadCommandLinesExitWithTwo) {
  {
    TChild dump(L"dump --system --model");
    EXPECT_EQ(dump.Wait(10000), 1);
    EXPECT_NE(dump.Output().find("HWiNFO polling status: 255"), std::string::npos) << dump.Output();
  }
  // A header that claims far more readings than the block holds.
  std::vector<uint8_t> bytes = WriteBlock(Profile("amd-desktop").Block);
  const uint32_t huge = 50000000;
  std::memcpy(bytes.data() + hwinfo_sm2::kOffReadingCount, &huge, 4);
  const std::wstring file = TempFile(L"malformed.bin");
  {
    std::ofstream(WideToUtf8(file), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                             static_cast<std::streamsize>(bytes.size()));
  }
  {
    TStopEvent stop;
    TChild replay(L"replay \"" + file + L"\" --interval 100" + stop.Arg());
    ASSERT_TRUE(WaitForActiveBlock()) << replay.Output();
    TChild dump(L"dump --model");
    EXPECT_EQ(dump.Wait(10000), 1);
    EXPECT_NE(dump.Output().find("HWiNFO polling status: 253 (read error"), std::string::npos) << dump.Output();
    EXPECT_NE(dump.Output().find("0 sensors, 0 readings"), std::string::npos);
    stop.Set();
    EXPECT_EQ(replay.Wait(10000), 0);
  }
  DeleteFileW(file.c_str());

  TChild unknown(L"publish --profile laptop");
  EXPECT_EQ(unknown.Wait(10000), 2);
  EXPECT_NE(unknown.Output().find("intel-hybrid, amd-desktop, server"), std::string::npos) << unknown.Output();
  TChild missing(L"replay \"" + TempFile(L"does-not-exist.bin") + L"\"");
  EXPECT_EQ(missing.Wait(10000), 1);
  EXPECT_NE(missing.Output().find("cannot open"), std::string::npos) << missing.Output();
}
