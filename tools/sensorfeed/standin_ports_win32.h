// The system-information and network ports `sensorfeed dump` hands to the
// data logger. The program's own Win32 implementations (TQD_SystemInfoWin32,
// TQD_NetworkWin32 in src/collector) are used as soon as they are in the
// tree; until then the small stand-ins below take their place.
// TO BE REPLACED: delete the stand-ins once both headers have landed.
#pragma once

#include "ports.h"
#include "system_info.h"

#if __has_include("system_info_win32.h") && __has_include("network_win32.h")
#include "network_win32.h"
#include "system_info_win32.h"
using TSF_SystemInfoPort = TQD_SystemInfoWin32;
using TSF_NetworkPort = TQD_NetworkWin32;
inline constexpr bool kSFStandInPorts = false;
#else
// Stand-in: processor counts, RAM; no logical drives.
class TSF_SystemInfoPort final : public TQD_SystemInfoPort {
 public:
  bool ReadCPUInfo(TQD_CPUINFO& AInfo) override;
  bool ReadRAMInfo(TQD_RAMINFO& AInfo, bool AIncludeReserved) override;
  bool ReadLogicalDrives(TQD_DRVMTR_LogicalDrives& ADrives) override;
};
// Stand-in: no interfaces.
class TSF_NetworkPort final : public TQD_NetworkPort {
 public:
  bool GetIfTable(std::vector<TQD_IFRow>& ARows) override;
};
inline constexpr bool kSFStandInPorts = true;
#endif
