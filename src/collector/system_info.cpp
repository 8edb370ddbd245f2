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

bool QueryLogicalDrives(TQD_SystemInfoPort& APort, TQD_DRVMTR_LogicalDrives& ADrives) {
  return QueryLogicalDrives(APort, ADrives, nullptr);
}

bool QueryLogicalDrives(TQD_SystemInfoPort& APort, TQD_DRVMTR_LogicalDrives& ADrives,
                        const TQD_VolumeRequest& AVolume) {
  ADrives.assign(1, TQD_DRVMTR_ALogicalDrive{});
  const std::vector<std::string> roots = APort.GetLogicalDriveRoots();
  for (size_t i = 0; i < roots.size(); ++i) {
    const std::string& path = roots[i];
    if (path.empty()) continue;  // the system never lists one; nothing to query
    TQD_DRVMTR_ALogicalDrive d;
    d.Fixed = APort.GetDriveTypeCode(path) == kDriveTypeFixed;
    d.Index = static_cast<uint32_t>(i);
    d.Letter = path;
    // Label and space are asked of the bare root of the drive letter.
    const std::string root = std::string(1, path[0]) + ":\\";
    // Drives are numbered from A = 1; anything else is no drive that can be asked.
    const int number = static_cast<unsigned char>(path[0]) - 64;
    const bool hasNumber = number >= 1 && number <= 26;
    int64_t total = -1, free = -1;
    if (AVolume) {
      AVolume(root, hasNumber);
    } else {
      if (!APort.GetVolumeLabel(root, d.Name)) d.Name.clear();
      if (!hasNumber || !APort.GetDiskSpace(root, total, free)) total = free = -1;
    }
    d.TotalSpace = total;
    d.FreeSpace = free;
    d.UsedSpace = total - free;
    ADrives.push_back(std::move(d));
  }
  return ADrives.size() > 1;
}
