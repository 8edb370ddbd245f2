// Figures read from the operating system rather than from HWiNFO: processor
// vendor and counts, RAM, logical drives. Every list other code indexes has a
// placeholder at index 0.
//
// The port below only makes system calls and hands back what they said; the
// Query* functions turn those answers into the records (which vendor text is
// which code, which relationships count, which RAM figure is Total, how the
// drive list is laid out), so those rules run and are tested on any host.
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

// Relationship codes of the processor topology entries that are counted.
inline constexpr uint32_t kRelationProcessorCore = 0;
inline constexpr uint32_t kRelationProcessorPackage = 3;
// Drive type code of a fixed disk.
inline constexpr uint32_t kDriveTypeFixed = 3;

// The raw system calls behind those figures. No rule lives here: each call
// answers what the system said, or that it failed.
class TQD_SystemInfoPort {
 public:
  virtual ~TQD_SystemInfoPort() = default;
  // The 12 bytes of CPUID leaf 0 in register order EBX, EDX, ECX.
  virtual std::string CPUVendorText() = 0;
  // The relationship code of every processor topology entry, in system order;
  // false when the topology cannot be read.
  virtual bool GetProcessorRelationships(std::vector<uint32_t>& ARelationships) = 0;
  // The number of logical processors the system reports.
  virtual uint32_t GetNumberOfProcessors() = 0;
  // Physically installed memory in kilobytes.
  virtual bool GetInstalledMemoryKB(uint64_t& AKilobytes) = 0;
  // Physical memory the system can use, and what of it is available, in bytes.
  virtual bool GetMemoryStatus(uint64_t& ATotalPhys, uint64_t& AAvailPhys) = 0;
  // The drive root paths ("C:\") in the system's order; empty on failure.
  virtual std::vector<std::string> GetLogicalDriveRoots() = 0;
  // The drive type code of a root path.
  virtual uint32_t GetDriveTypeCode(const std::string& ARoot) = 0;
  // The volume label of "X:\"; false when it cannot be read.
  virtual bool GetVolumeLabel(const std::string& ARoot, std::string& ALabel) = 0;
  // Total size and the free bytes available to the caller of "X:\"; false when
  // the drive cannot be queried (an empty removable drive, for example).
  virtual bool GetDiskSpace(const std::string& ARoot, int64_t& ATotal, int64_t& AFree) = 0;
};

// 1 for "GenuineIntel", 2 for "AuthenticAMD" (exact), otherwise 0.
uint32_t CPUVendorCode(const std::string& AVendorText);
// The vendor's name from CPUVendorNames; "Unknown" for a code out of range.
const char* CPUVendorName(uint32_t AVendor);

// Vendor, packages, cores and logical processors. False (counts 0) when the
// topology cannot be read; the vendor is set either way.
bool QueryCPUInfo(TQD_SystemInfoPort& APort, TQD_CPUINFO& AInfo);
// RAM figures; Total is TotalInstalled when AIncludeReserved, otherwise
// TotalReported. A failed query leaves its figures 0 and gives false.
bool QueryRAMInfo(TQD_SystemInfoPort& APort, bool AIncludeReserved, TQD_RAMINFO& AInfo);
// The bare root ("X:\\") a drive's label and space are asked of, from the
// path the system lists ("X:\\" or a longer mounted path); APath is not empty.
std::string VolumeRoot(const std::string& APath);
// Whether the path's letter numbers a drive (A = 1 .. Z = 26) whose space can
// be asked.
bool HasDriveNumber(const std::string& APath);
