// Processor, RAM and logical-drive records from the system-information port's
// raw answers; see system_info.h.
#include "collector/system_info.h"

uint32_t CPUVendorCode(const std::string& AVendorText) {
  if (AVendorText == CPUVendorNames[1]) return 1;
  if (AVendorText == CPUVendorNames[2]) return 2;
  return 0;
}

const char* CPUVendorName(uint32_t AVendor) {
  return AVendor < 3 ? CPUVendorNames[AVendor] : CPUVendorNames[0];
}

bool QueryCPUInfo(TQD_SystemInfoPort& APort, TQD_CPUINFO& AInfo) {
  AInfo = TQD_CPUINFO{};
  AInfo.Vendor = CPUVendorCode(APort.CPUVendorText());
  std::vector<uint32_t> relations;
  if (!APort.GetProcessorRelationships(relations)) return false;
  // Caches, NUMA nodes and groups are listed too; only cores and packages count.
  for (uint32_t r : relations) {
    if (r == kRelationProcessorCore) ++AInfo.NumPhysicalCores;
    else if (r == kRelationProcessorPackage) ++AInfo.NumCPUs;
  }
  AInfo.NumLogicalProcessors = APort.GetNumberOfProcessors();
  return true;
}

bool QueryRAMInfo(TQD_SystemInfoPort& APort, bool AIncludeReserved, TQD_RAMINFO& AInfo) {
  bool ok = true;
  uint64_t kb = 0;
  if (APort.GetInstalledMemoryKB(kb)) {
    AInfo.TotalInstalled = kb * 1024;
  } else {
    AInfo.TotalInstalled = 0;
    ok = false;
  }
  uint64_t total = 0, avail = 0;
  if (APort.GetMemoryStatus(total, avail)) {
    AInfo.TotalReported = total;
    AInfo.Available = avail;
  } else {
    AInfo.TotalReported = 0;
    AInfo.Available = 0;
    ok = false;
  }
  AInfo.Total = AIncludeReserved ? AInfo.TotalInstalled : AInfo.TotalReported;
  return ok;
}

std::string VolumeRoot(const std::string& APath) { return std::string(1, APath[0]) + ":\\"; }

bool HasDriveNumber(const std::string& APath) {
  const int number = static_cast<unsigned char>(APath[0]) - 64;
  return number >= 1 && number <= 26;
}
