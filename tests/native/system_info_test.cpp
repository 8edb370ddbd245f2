// Processor, RAM and logical-drive records built from scripted system answers.
#include <gtest/gtest.h>

#include "collector/data_logger.h"
#include "sim/fake_ports.h"
#include "collector/system_info.h"
#include "collector/volume_queries.h"

namespace {

TQD_DRVMTR_ALogicalDrive Drive(const char* ALetter, bool AFixed, const char* ALabel, int64_t ATotal,
                               int64_t AFree) {
  TQD_DRVMTR_ALogicalDrive d;
  d.Letter = ALetter;
  d.Fixed = AFixed;
  d.Name = ALabel;
  d.TotalSpace = ATotal;
  d.FreeSpace = AFree;
  return d;
}

}  // namespace

TEST(SystemInfo, VendorTextMustMatchExactly) {
  EXPECT_EQ(CPUVendorCode("GenuineIntel"), 1u);
  EXPECT_EQ(CPUVendorCode("AuthenticAMD"), 2u);
  EXPECT_EQ(CPUVendorCode("genuineintel"), 0u);
  EXPECT_EQ(CPUVendorCode("AuthenticAM"), 0u);
  EXPECT_EQ(CPUVendorCode(std::string("GenuineIntel\0", 13)), 0u);
  EXPECT_EQ(CPUVendorCode("HygonGenuine"), 0u);
  EXPECT_STREQ(CPUVendorName(2), "AuthenticAMD");
  EXPECT_STREQ(CPUVendorName(7), "Unknown");
}

TEST(SystemInfo, CountsPackagesAndCoresIgnoringOtherEntries) {
  TFakeSystemInfo port;
  port.VendorText = "AuthenticAMD";
  port.CPU = TQD_CPUINFO{0, 2, 16, 32};  // two sockets with 8 cores each
  TQD_CPUINFO info;
  ASSERT_TRUE(QueryCPUInfo(port, info));
  EXPECT_EQ(info.Vendor, 2u);
  EXPECT_EQ(info.NumCPUs, 2u);
  EXPECT_EQ(info.NumPhysicalCores, 16u);  // cache and NUMA entries do not count
  EXPECT_EQ(info.NumLogicalProcessors, 32u);
}

TEST(SystemInfo, UnreadableTopologyLeavesCountsZeroButKeepsVendor) {
  TFakeSystemInfo port;
  port.CPU = TQD_CPUINFO{1, 1, 8, 16};
  port.TopologyFails = true;
  TQD_CPUINFO info{9, 9, 9, 9};
  EXPECT_FALSE(QueryCPUInfo(port, info));
  EXPECT_EQ(info.Vendor, 1u);
  EXPECT_EQ(info.NumCPUs, 0u);
  EXPECT_EQ(info.NumPhysicalCores, 0u);
  EXPECT_EQ(info.NumLogicalProcessors, 0u);
}

TEST(SystemInfo, RAMTotalFollowsTheReservedSwitch) {
  TFakeSystemInfo port;
  port.RAM = TQD_RAMINFO{uint64_t{32} << 30, (uint64_t{32} << 30) - (300u << 20), 0, uint64_t{20} << 30};
  TQD_RAMINFO info;
  ASSERT_TRUE(QueryRAMInfo(port, true, info));
  EXPECT_EQ(info.TotalInstalled, uint64_t{32} << 30);  // kilobytes times 1024
  EXPECT_EQ(info.Total, info.TotalInstalled);
  EXPECT_EQ(info.Available, uint64_t{20} << 30);
  ASSERT_TRUE(QueryRAMInfo(port, false, info));
  EXPECT_EQ(info.Total, (uint64_t{32} << 30) - (300u << 20));
  EXPECT_EQ(info.Total, info.TotalReported);
}

TEST(SystemInfo, FailedRAMQueriesLeaveZerosAndReportFailure) {
  TFakeSystemInfo port;
  TQD_RAMINFO info;
  ASSERT_TRUE(QueryRAMInfo(port, true, info));
  // Installed memory unknown: with reserved memory included, Total is 0.
  port.InstalledFails = true;
  EXPECT_FALSE(QueryRAMInfo(port, true, info));
  EXPECT_EQ(info.TotalInstalled, 0u);
  EXPECT_EQ(info.Total, 0u);
  EXPECT_EQ(info.TotalReported, port.RAM.TotalReported);
  EXPECT_FALSE(QueryRAMInfo(port, false, info));
  EXPECT_EQ(info.Total, port.RAM.TotalReported);
  // Both queries failing clears the figures of an earlier success too.
  port.RAMFails = true;
  EXPECT_FALSE(QueryRAMInfo(port, false, info));
  EXPECT_EQ(info.TotalReported, 0u);
  EXPECT_EQ(info.Available, 0u);
  EXPECT_EQ(info.Total, 0u);
}

TEST(SystemInfo, DrivesFollowThePlaceholderInSystemOrder) {
  TFakeSystemInfo port;
  port.Drives = {Drive("C:\\", true, "System", 500'000'000'000, 120'000'000'000),
                 Drive("E:\\", false, "", -1, -1),  // optical drive without a disc
                 Drive("F:\\", false, "STICK", 16'000'000'000, 15'000'000'000)};
  TQD_DRVMTR_LogicalDrives drives{Drive("Z:\\", true, "stale", 1, 1)};
  ASSERT_TRUE(QueryLogicalDrives(port, drives));
  ASSERT_EQ(drives.size(), 4u);

  const TQD_DRVMTR_ALogicalDrive& p = drives[0];
  EXPECT_TRUE(p.Letter.empty());
  EXPECT_TRUE(p.Name.empty());
  EXPECT_FALSE(p.Fixed);
  EXPECT_EQ(p.TotalSpace, 0);

  EXPECT_EQ(drives[1].Index, 0u);
  EXPECT_EQ(drives[1].Letter, "C:\\");
  EXPECT_TRUE(drives[1].Fixed);
  EXPECT_EQ(drives[1].Name, "System");
  EXPECT_EQ(drives[1].UsedSpace, 380'000'000'000);

  const TQD_DRVMTR_ALogicalDrive& e = drives[2];
  EXPECT_EQ(e.Index, 1u);
  EXPECT_FALSE(e.Fixed);
  EXPECT_EQ(e.Name, "");
  EXPECT_EQ(e.TotalSpace, -1);
  EXPECT_EQ(e.FreeSpace, -1);
  EXPECT_EQ(e.UsedSpace, 0);

  EXPECT_EQ(drives[3].Index, 2u);
  EXPECT_EQ(drives[3].Name, "STICK");
  EXPECT_EQ(drives[3].UsedSpace, 1'000'000'000);
}

TEST(SystemInfo, LabelAndSpaceAreAskedOfTheBareDriveRoot) {
  TFakeSystemInfo port;
  // A folder mounted path is listed with more than the root; a non-letter
  // first character names no drive and is not asked for its space.
  port.Drives = {Drive("D:\\Mount\\", true, "Data", 100, 40), Drive("#:\\", true, "", 100, 40)};
  TQD_DRVMTR_LogicalDrives drives;
  ASSERT_TRUE(QueryLogicalDrives(port, drives));
  ASSERT_EQ(drives.size(), 3u);
  EXPECT_EQ(drives[1].Letter, "D:\\Mount\\");
  EXPECT_EQ(drives[1].UsedSpace, 60);
  EXPECT_EQ(drives[2].TotalSpace, -1);
  EXPECT_EQ(drives[2].UsedSpace, 0);
  EXPECT_EQ(port.QueriedRoots, (std::vector<std::string>{"D:\\", "D:\\", "#:\\"}));
}

TEST(SystemInfo, NoDriveIsAFailureWithThePlaceholderAlone) {
  TFakeSystemInfo port;
  port.Drives = {Drive("C:\\", true, "", 10, 5)};
  port.DrivesFail = true;
  TQD_DRVMTR_LogicalDrives drives;
  EXPECT_FALSE(QueryLogicalDrives(port, drives));
  EXPECT_EQ(drives.size(), 1u);
}

TEST(SystemInfo, DataLoggerReadsAtCreationAndCPUOnlyThen) {
  TFakeCollector c;
  c.SystemInfo.Drives = {Drive("C:\\", true, "", 10, 5)};
  TQD_DataLogger logger(c.Ports(), true, 180, 2000);
  EXPECT_EQ(logger.CPUInfo().NumPhysicalCores, 8u);
  EXPECT_EQ(logger.RAMInfo().Total, logger.RAMInfo().TotalInstalled);
  EXPECT_EQ(logger.NumLogicalDrives(), 1);

  c.SystemInfo.CPU.NumPhysicalCores = 4;
  c.SystemInfo.RAM.Available = 12345;
  logger.SetRAMInfoIncludeReserved(false);
  logger.InternalPolling();
  EXPECT_EQ(logger.CPUInfo().NumPhysicalCores, 8u);
  EXPECT_EQ(logger.RAMInfo().Available, 12345u);
  EXPECT_EQ(logger.RAMInfo().Total, logger.RAMInfo().TotalReported);
}
