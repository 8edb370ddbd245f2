// The system-information port on Windows: CPUID, the processor topology,
// the memory status and the logical-drive APIs. Each call answers what the
// system said; the records are built by the Query* functions in system_info.h.
#pragma once

#include "collector/system_info.h"

class TQD_SystemInfoWin32 final : public TQD_SystemInfoPort {
 public:
  std::string CPUVendorText() override;
  bool GetProcessorRelationships(std::vector<uint32_t>& ARelationships) override;
  uint32_t GetNumberOfProcessors() override;
  bool GetInstalledMemoryKB(uint64_t& AKilobytes) override;
  bool GetMemoryStatus(uint64_t& ATotalPhys, uint64_t& AAvailPhys) override;
  std::vector<std::string> GetLogicalDriveRoots() override;
  uint32_t GetDriveTypeCode(const std::string& ARoot) override;
  bool GetVolumeLabel(const std::string& ARoot, std::string& ALabel) override;
  bool GetDiskSpace(const std::string& ARoot, int64_t& ATotal, int64_t& AFree) override;
};

// The raw CPUID leaf 0 vendor bytes (EBX, EDX, ECX), for tests to compare with.
std::string RawCPUIDVendorText();
