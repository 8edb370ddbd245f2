// Figures read from the operating system rather than from HWiNFO: processor
// vendor and counts, RAM, logical drives. Every list other code indexes has a
// placeholder at index 0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TQD_CPUINFO {
  uint32_t Vendor = 0;  // 0 other, 1 GenuineIntel, 2 AuthenticAMD
  uint32_t NumCPUs = 0;
  uint32_t NumPhysicalCores = 0;
  uint32_t NumLogicalProcessors = 0;
};

inline constexpr const char* CPUVendorNames[3] = {"Unknown", "GenuineIntel", "AuthenticAMD"};

struct TQD_RAMINFO {
  uint64_t TotalInstalled = 0;
  uint64_t TotalReported = 0;
  uint64_t Total = 0;
  uint64_t Available = 0;
};

struct TQD_DRVMTR_ALogicalDrive {
  bool Fixed = false;
  uint32_t Index = 0;
  std::string Letter;  // root path, "C:\"
  std::string Name;    // volume label
  int64_t TotalSpace = 0;
  int64_t FreeSpace = 0;
  int64_t UsedSpace = 0;
};
using TQD_DRVMTR_LogicalDrives = std::vector<TQD_DRVMTR_ALogicalDrive>;

// The system calls behind those figures.
class TQD_SystemInfoPort {
 public:
  virtual ~TQD_SystemInfoPort() = default;
  // Vendor and counts; false (counts 0) when the processor topology cannot be read.
  virtual bool ReadCPUInfo(TQD_CPUINFO& AInfo) = 0;
  // RAM figures; Total chosen by AIncludeReserved. False when any query failed.
  virtual bool ReadRAMInfo(TQD_RAMINFO& AInfo, bool AIncludeReserved) = 0;
  // The placeholder and then every logical drive; false when none was found.
  virtual bool ReadLogicalDrives(TQD_DRVMTR_LogicalDrives& ADrives) = 0;
};
