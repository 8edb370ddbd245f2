// The real system-information and network ports, on whatever machine (or
// Wine prefix) runs the test: only what every sane system answers is checked.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "collector/data_logger.h"
#include "sim/fake_ports.h"
#include "collector/network_win32.h"
#include "sensorfeed/reports.h"
#include "collector/system_info_win32.h"

namespace {

// Fakes for the rest, the real system-information and network ports.
struct RealSystemCollector : TFakeCollector {
  TQD_SystemInfoWin32 RealSystem;
  TQD_NetworkWin32 RealNetwork;
  TQD_CollectorPorts RealPorts() {
    TQD_CollectorPorts p = Ports();
    p.SystemInfo = &RealSystem;
    p.Network = &RealNetwork;
    return p;
  }
};

}  // namespace

TEST(SystemInfoWin32, CPUVendorAndCounts) {
  TQD_SystemInfoWin32 port;
  TQD_CPUINFO cpu;
  ASSERT_TRUE(QueryCPUInfo(port, cpu));
  const std::string raw = RawCPUIDVendorText();
  ASSERT_EQ(raw.size(), 12u);
  EXPECT_EQ(cpu.Vendor, raw == "GenuineIntel" ? 1u : raw == "AuthenticAMD" ? 2u : 0u) << raw;
  EXPECT_GE(cpu.NumLogicalProcessors, 1u);
  EXPECT_GE(cpu.NumPhysicalCores, 1u);
  EXPECT_LE(cpu.NumPhysicalCores, cpu.NumLogicalProcessors);
  std::printf("vendor %s, %u package(s), %u core(s), %u logical\n", raw.c_str(), cpu.NumCPUs,
              cpu.NumPhysicalCores, cpu.NumLogicalProcessors);
}

TEST(SystemInfoWin32, RAMFigures) {
  TQD_SystemInfoWin32 port;
  TQD_RAMINFO ram;
  ASSERT_TRUE(QueryRAMInfo(port, true, ram));
  EXPECT_GT(ram.TotalInstalled, 0u);
  EXPECT_GT(ram.TotalReported, 0u);
  EXPECT_EQ(ram.TotalInstalled % 1024, 0u);
  EXPECT_EQ(ram.Total, ram.TotalInstalled);
  EXPECT_GT(ram.Available, 0u);
  EXPECT_LE(ram.Available, ram.TotalReported);
}

TEST(SystemInfoWin32, LogicalDrivesIncludeAFixedC) {
  TQD_SystemInfoWin32 port;
  TQD_DRVMTR_LogicalDrives drives;
  ASSERT_TRUE(QueryLogicalDrives(port, drives));
  ASSERT_GE(drives.size(), 2u);
  EXPECT_TRUE(drives[0].Letter.empty());
  bool foundC = false;
  for (size_t i = 1; i < drives.size(); ++i) {
    const TQD_DRVMTR_ALogicalDrive& d = drives[i];
    EXPECT_EQ(d.Index, i - 1);
    ASSERT_EQ(d.Letter.size(), 3u) << d.Letter;
    EXPECT_EQ(d.Letter.substr(1), ":\\");
    EXPECT_EQ(d.UsedSpace, d.TotalSpace - d.FreeSpace);
    if (d.Letter == "C:\\") {
      foundC = true;
      EXPECT_TRUE(d.Fixed);
      EXPECT_GT(d.TotalSpace, 0);
      EXPECT_GT(d.FreeSpace, 0);
      EXPECT_LE(d.FreeSpace, d.TotalSpace);
    }
  }
  EXPECT_TRUE(foundC);
}

// The roots list is read in one call into a buffer sized for all 26 letters:
// it must name exactly the drives of the system's drive mask, in letter order.
TEST(SystemInfoWin32, LogicalDriveRootsMatchTheDriveMask) {
  TQD_SystemInfoWin32 port;
  const DWORD mask = GetLogicalDrives();
  std::vector<std::string> expected;
  for (int i = 0; i < 26; ++i)
    if (mask & (1u << i)) expected.push_back(std::string(1, static_cast<char>('A' + i)) + ":\\");
  EXPECT_EQ(port.GetLogicalDriveRoots(), expected);
}

TEST(SystemInfoWin32, InterfaceTableReadsAndRepeats) {
  TQD_NetworkWin32 port;
  std::vector<TQD_IFRow> rows;
  ASSERT_TRUE(port.GetIfTable(rows)) << port.LastError();
  EXPECT_TRUE(port.LastError().empty());
  for (const TQD_IFRow& r : rows) {
    EXPECT_NE(r.InterfaceGuid, TQD_GUID{}) << r.Description;
    EXPECT_LT(r.Description.size(), 257u * 3);
    EXPECT_GE(r.OperStatus, 1u);  // IF_OPER_STATUS starts at 1 (up)
    EXPECT_LE(r.OperStatus, 7u);
  }
  // A second read reuses the rows and sees the same interfaces.
  std::vector<TQD_IFRow> again = rows;
  ASSERT_TRUE(port.GetIfTable(again));
  ASSERT_EQ(again.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(again[i].InterfaceGuid, rows[i].InterfaceGuid);
    EXPECT_GE(again[i].InOctets, rows[i].InOctets);
  }
}

TEST(SystemInfoWin32, DataLoggerPollsTheRealSystem) {
  RealSystemCollector c;
  TQD_DataLogger logger(c.RealPorts(), false, 60, 2000);
  logger.InternalPolling();
  EXPECT_GE(logger.NumLogicalDrives(), 1);
  EXPECT_EQ(logger.RAMInfo().Total, logger.RAMInfo().TotalReported);
  // The status is 0 unless the interface table came back empty (a bare sandbox).
  if (logger.NIFLogger().NumInterfaces() > 0)
    EXPECT_EQ(logger.LastInternalPollingStatus(), insOK);
  else
    EXPECT_EQ(logger.LastInternalPollingStatus(), insFailed);
  // The report a user would see, for the log.
  PrintSystemReport(logger, stdout);
}
