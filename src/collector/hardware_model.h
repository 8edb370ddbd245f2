// The hardware model: which processors, cores, threads, GPUs and drives
// exist, and which HWiNFO reading (by URID) is which of their figures. It is
// derived from the readings list and holds URIDs only; values are looked up
// afresh on every refresh. Every list has a placeholder at index 0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "collector/urid.h"

struct TQD_CPUMTR_AThread {
  TQD_URID Usage;
};
using TQD_CPUMTR_Threads = std::vector<TQD_CPUMTR_AThread>;

struct TQD_CPUMTR_ACore {
  bool IsECore = false;
  bool IsPCore = false;
  int32_t CCD = 0;  // 0 never set, -1 examined without a number
  TQD_URID Voltage;
  TQD_URID Power;
  TQD_URID Temperature;
  TQD_URID Clock;
  TQD_CPUMTR_Threads HardwareThreads;
};
using TQD_CPUMTR_Cores = std::vector<TQD_CPUMTR_ACore>;

struct TQD_CPUMTR_ACPU {
  uint32_t Instance = 0;
  TQD_URID Usage;
  TQD_URID PackagePower;
  TQD_URID Temperature;
  TQD_URID Fanspeed;
  TQD_CPUMTR_Cores Cores;
};
using TQD_CPUMTR_CPUs = std::vector<TQD_CPUMTR_ACPU>;

inline constexpr const char* GPUVendorNames[4] = {"Unknown", "Intel", "AMD", "NVIDIA"};

struct TQD_GPUMTR_AGPU {
  uint32_t Instance = 0;
  uint32_t Vendor = 0;
  std::string GPUName;
  TQD_URID Usage;
  TQD_URID Voltage;
  TQD_URID Clock;
  TQD_URID Power;
  TQD_URID Temperature;
  TQD_URID Hotspot;
  uint32_t MemoryTotal = 0;  // MiB
  TQD_URID MemoryAllocated;
  TQD_URID MemoryUsage;
  TQD_URID MemoryClock;
  TQD_URID MemoryTemperature;
  TQD_URID MemoryControllerLoad;
  TQD_URID VideoClock;
  TQD_URID VideoEngineLoad;
  std::vector<TQD_URID> Fans;
};
using TQD_GPUMTR_GPUs = std::vector<TQD_GPUMTR_AGPU>;

struct TQD_DRVMTR_AHardwareDrive {
  uint32_t Instance = 0;
  std::string Name;
  TQD_URID ReadActivity;
  TQD_URID ReadRate;
  TQD_URID WriteActivity;
  TQD_URID WriteRate;
  TQD_URID Temperature;
};
using TQD_DRVMTR_HardwareDrives = std::vector<TQD_DRVMTR_AHardwareDrive>;
