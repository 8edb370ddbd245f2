// Stand-ins for the system-information and network ports; see
// standin_ports_win32.h. TO BE REPLACED by src/collector's own.
#include "standin_ports_win32.h"

#if !__has_include("system_info_win32.h") || !__has_include("network_win32.h")

#include <windows.h>

#include <vector>

bool TSF_SystemInfoPort::ReadCPUInfo(TQD_CPUINFO& AInfo) {
  AInfo = TQD_CPUINFO{};
  DWORD length = 0;
  GetLogicalProcessorInformation(nullptr, &length);
  if (length == 0) return false;
  std::vector<SYSTEM_LOGICAL_PROCESSOR_INFORMATION> items(length / sizeof(SYSTEM_LOGICAL_PROCESSOR_INFORMATION) + 1);
  length = static_cast<DWORD>(items.size() * sizeof(SYSTEM_LOGICAL_PROCESSOR_INFORMATION));
  if (!GetLogicalProcessorInformation(items.data(), &length)) return false;
  items.resize(length / sizeof(SYSTEM_LOGICAL_PROCESSOR_INFORMATION));
  for (const SYSTEM_LOGICAL_PROCESSOR_INFORMATION& i : items) {
    if (i.Relationship == RelationProcessorPackage) ++AInfo.NumCPUs;
    if (i.Relationship == RelationProcessorCore) {
      ++AInfo.NumPhysicalCores;
      for (ULONG_PTR m = i.ProcessorMask; m; m &= m - 1) ++AInfo.NumLogicalProcessors;
    }
  }
  return AInfo.NumPhysicalCores > 0;
}

bool TSF_SystemInfoPort::ReadRAMInfo(TQD_RAMINFO& AInfo, bool AIncludeReserved) {
  bool ok = true;
  ULONGLONG kb = 0;
  AInfo.TotalInstalled = GetPhysicallyInstalledSystemMemory(&kb) ? kb * 1024 : 0;
  ok = ok && AInfo.TotalInstalled != 0;
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (GlobalMemoryStatusEx(&status)) {
    AInfo.TotalReported = status.ullTotalPhys;
    AInfo.Available = status.ullAvailPhys;
  } else {
    AInfo.TotalReported = AInfo.Available = 0;
    ok = false;
  }
  AInfo.Total = AIncludeReserved ? AInfo.TotalInstalled : AInfo.TotalReported;
  return ok;
}

bool TSF_SystemInfoPort::ReadLogicalDrives(TQD_DRVMTR_LogicalDrives& ADrives) {
  ADrives.assign(1, TQD_DRVMTR_ALogicalDrive{});
  return false;
}

bool TSF_NetworkPort::GetIfTable(std::vector<TQD_IFRow>& ARows) {
  ARows.clear();
  return true;
}

#endif
