// The monitor kinds' table; see monitor_kind.h.
#include "monitors/monitor_kind.h"

#include "settings/settings.h"

#define QD_GEOMETRY(P) &TQD_Settings::P##_On, &TQD_Settings::P##_WindowLeft, &TQD_Settings::P##_WindowTop, \
                       &TQD_Settings::P##_WindowWidth, &TQD_Settings::P##_WindowHeight

const std::array<TQD_MonitorDescriptor, kMonitorKindCount> QD_MonitorDescriptors{{
    {TQD_MonitorKind::Clock, "Clock", "Clock", "\\Clock", nullptr, QD_GEOMETRY(Clock),
     "EnableClock", "Enable clock", "DisableClock", "Disable clock", "RebuildClockMonitorWindow", "Rebuild clock",
     "ResetClockWindowSize", "ResetClockWindowPos", nullptr, nullptr},
    {TQD_MonitorKind::CPU, "CPU Monitor", "CPUMonitor", "\\CPUMonitor", "\\CPUMonitorCustomReadings",
     QD_GEOMETRY(CPUMonitor), "EnableCPUMonitor", "Enable CPU monitor", "DisableCPUMonitor",
     "Disable CPU monitor", "RebuildCPUMonitorWindow", "Rebuild CPU monitor", "ResetCPUMonitorWindowSize",
     "ResetCPUMonitorWindowPos", "OpenCPUMonitorSettings", "CPU monitor settings"},
    {TQD_MonitorKind::GPU, "GPU Monitor", "GPUMonitor", "\\GPUMonitor", "\\GPUMonitorCustomReadings",
     QD_GEOMETRY(GPUMonitor), "EnableGPUMonitor", "Enable GPU monitor", "DisableGPUMonitor",
     "Disable GPU monitor", "RebuildGPUMonitorWindow", "Rebuild GPU monitor", "ResetGPUMonitorWindowSize",
     "ResetGPUMonitorWindowPos", "OpenGPUMonitorSettings", "GPU monitor settings"},
    {TQD_MonitorKind::Drives, "Drive Monitor", "DriveMonitor", "\\DriveMonitor", "\\DriveMonitorCustomReadings",
     QD_GEOMETRY(DriveMonitor), "EnableDriveMonitor", "Enable drive monitor", "DisableDriveMonitor",
     "Disable drive monitor", "RebuildDriveMonitorWindow", "Rebuild drive monitor", "ResetDriveMonitorWindowSize",
     "ResetDriveMonitorWindowPos", "OpenDriveMonitorSettings", "Drive monitor settings"},
    {TQD_MonitorKind::Network, "Network Monitor", "NetworkMonitor", "\\NetworkMonitor",
     "\\NetworkMonitorCustomReadings", QD_GEOMETRY(NetworkMonitor), "EnableNetworkMonitor",
     "Enable network monitor", "DisableNetworkMonitor", "Disable network monitor", "RebuildNetworkMonitorWindow",
     "Rebuild network monitor window", "ResetNetworkMonitorWindowSize", "ResetNetworkMonitorWindowPos",
     "OpenNetworkMonitorSettings", "Network monitor settings"},
}};
