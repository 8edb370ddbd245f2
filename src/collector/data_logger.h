// The data logger: the one object through which the rest of Quendal sees the
// hardware. It drives two polls on timers whose ticks arrive on the UI thread:
//   - the HWiNFO poll copies the shared-memory snapshot into the sensor and
//     readings lists and, after a start, a reset or a failure, rebuilds the
//     hardware model;
//   - the internal poll refreshes RAM, logical drives and network counters.
// Each poll records a status, a time and a duration and then fires its
// polling-done event. Busy flags drop a tick that arrives while a poll of the
// same kind is still running further up the stack (a nested message loop).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "collector/hardware_model.h"
#include "collector/hwinfo_sm2.h"
#include "collector/nif_logger.h"
#include "collector/ports.h"
#include "collector/readings.h"
#include "collector/system_info.h"
#include "collector/volume_queries.h"

class TQD_DataLogger;

// Polling-done event: Sender, RebuildDriveMonitor, RebuildNetworkMonitor.
using TQD_PollingDoneMessageProc = std::function<void(TQD_DataLogger& Sender, bool, bool)>;

// Internal polling status codes.
enum TQD_InternalStatus : uint8_t { insOK = 0, insNotPolled = 1, insFailed = 255 };

class TQD_DataLogger {
 public:
  // Reads CPU, RAM and drives once, creates the network logger and takes one
  // more sample, creates both timers. Nothing is started.
  TQD_DataLogger(const TQD_CollectorPorts& APorts, bool ARAMIncludeReserved, uint32_t ANetBufferLen,
                 uint32_t AHWiPollingInterval);
  virtual ~TQD_DataLogger();
  TQD_DataLogger(const TQD_DataLogger&) = delete;
  TQD_DataLogger& operator=(const TQD_DataLogger&) = delete;

  void Start();
  void Stop();
  // The next successful HWiNFO poll rebuilds the hardware model.
  void HWiPollingReset() { FHWiPollingFirstRun = true; }

  // The two polls, normally run by the timers.
  void HWiPolling();
  void InternalPolling();
  // The system said drives came or went (or media changed): the next
  // internal poll reads the drive list, types and labels again.
  void DrivesChanged() { FVolumeQueries->DrivesChanged(); }

  // --- lookups (neutral results on bad input) --------------------------------
  int GetReadingIndex(const TQD_URID& AURID) const;
  std::string GetUserLabel(const TQD_URID& AURID) const;
  int GetUnit(int AIndex) const;
  int GetUnit(const TQD_URID& AURID) const { return GetUnit(GetReadingIndex(AURID)); }
  double GetValue(int AIndex, TQD_DynamicCaptionSource ASource) const;
  double GetValue(const TQD_URID& AURID, TQD_DynamicCaptionSource ASource) const {
    return GetValue(GetReadingIndex(AURID), ASource);
  }
  int GetCPUIndex(uint32_t ASensorInst) const;
  int GetGPUIndex(uint32_t ASensorInst) const;
  int GetDriveIndex(uint32_t ASensorInst) const;

  // --- formatting (value_format.cpp) ---------------------------------------------
  // A reading's value with unit and statistic marker, or one of its names; "-"
  // for index 0 or past the end.
  std::string FormatValue(int AIndex, TQD_DynamicCaptionSource ASource) const;
  std::string FormatValue(const TQD_URID& AURID, TQD_DynamicCaptionSource ASource) const;
  std::string FormatRAMTotal() const;
  std::string FormatRAMUsed() const;
  // Logical drive figures in KiB … TiB; "-" past the end of the list and for a
  // drive whose figures are unknown (-1).
  std::string FormatDiskTotalSpace(int ADriveIndex) const;
  std::string FormatDiskFreeSpace(int ADriveIndex) const;
  std::string FormatDiskUsedSpace(int ADriveIndex) const;

  // --- properties ---------------------------------------------------------------
  const TQD_CPUINFO& CPUInfo() const { return FCPUInfo; }
  const TQD_RAMINFO& RAMInfo() const { return FRAMInfo; }
  TQD_NIFLogger& NIFLogger() { return *FNIFLogger; }
  const TQD_NIFLogger& NIFLogger() const { return *FNIFLogger; }
  const TQD_SensorList& SensorList() const { return FSensorList; }
  const TQD_ReadingsList& ReadingList() const { return FReadingsList; }
  const TQD_CPUMTR_CPUs& CPUs() const { return FCPUs; }
  const TQD_GPUMTR_GPUs& GPUs() const { return FGPUs; }
  const TQD_DRVMTR_LogicalDrives& LogicalDrives() const { return FLogicalDrives; }
  const TQD_DRVMTR_HardwareDrives& HardwareDrives() const { return FHardwareDrives; }

  double LastInternalPollingTime() const { return FLastInternalPollingTime; }
  int32_t LastInternalPollingDuration() const { return FLastInternalPollingDuration; }
  double LastHWiPollingTime() const { return FLastHWiPollingTime; }
  int32_t LastHWiPollingDuration() const { return FLastHWiPollingDuration; }
  uint8_t LastHWiPollingStatus() const { return FLastHWiPollingStatus; }
  uint8_t LastInternalPollingStatus() const { return FLastInternalPollingStatus; }
  bool HWiPollingFirstRun() const { return FHWiPollingFirstRun; }

  // --- stale HWiNFO data ---------------------------------------------------------
  // HWiNFO can stop updating while its block stays mapped with a good
  // signature (hung, or the free version's limit on shared memory). The block
  // counts as stale when its poll time has not changed for longer than
  //   3 × max(HWiNFO's own period, HWiPollingInterval)
  // measured on our monotonic clock from the poll that first saw the current
  // poll time. HWiNFO's own period is the largest step of the poll time among
  // its last kHWiPeriodHistory changes (whole seconds, as the block has them);
  // until the block has changed once, the period counts as
  // kHWiUnknownPeriodMs, so a slow HWiNFO is not called stale at start-up.
  // While stale, every reading lookup is neutral (the windows show "-"); the
  // poll status stays 0. Any poll that does not read the block (status not 0)
  // forgets the history.
  static constexpr int kHWiPeriodHistory = 8;
  static constexpr int64_t kHWiUnknownPeriodMs = 60000;
  bool HWiDataStale() const { return FHWiDataStale; }
  // Local date-time of the poll that first saw the block's current poll time:
  // when the data last moved, as the user's clock had it.
  double HWiDataMovedLocalTime() const { return FHWiDataMovedLocal; }
  // HWiNFO's own period as the block's history shows it; 0 before it changed.
  int64_t HWiBlockPeriodMs() const;

  // Polls run since creation (both kinds), for diagnostics.
  uint64_t PollsDone() const { return FPollsDone; }
  // HWiNFO polls alone: their pace is the configured polling interval.
  uint64_t HWiPollsDone() const { return FHWiPollsDone; }

  bool RAMInfoIncludeReserved() const { return FRAMIncludeReserved; }
  void SetRAMInfoIncludeReserved(bool AValue) { FRAMIncludeReserved = AValue; }
  uint32_t GPUMemoryTotalManual() const { return FGPUMemoryTotalManual; }
  void SetGPUMemoryTotalManual(uint32_t AValue) { FGPUMemoryTotalManual = AValue; }
  uint32_t NIFLoggerBufferLen() const { return FNIFLogger->BufferLen(); }
  void SetNIFLoggerBufferLen(uint32_t AValue) { FNIFLogger->SetBufferLen(AValue); }

  uint32_t InternalPollingInterval() const { return FInternalTimer->Interval(); }
  // Restarts both timers, also when unchanged.
  void SetInternalPollingInterval(uint32_t AValue);
  uint32_t HWiPollingInterval() const { return FHWiTimer->Interval(); }
  // Restarts both timers when the interval changes; the same value does nothing.
  void SetHWiPollingInterval(uint32_t AValue);

  int NumCPUs() const { return static_cast<int>(FCPUs.size()) - 1; }
  int NumGPUs() const { return static_cast<int>(FGPUs.size()) - 1; }
  int NumLogicalDrives() const { return static_cast<int>(FLogicalDrives.size()) - 1; }
  int NumHardwareDrives() const { return static_cast<int>(FHardwareDrives.size()) - 1; }
  bool CPUSensorFound() const { return NumCPUs() > 0; }
  bool GPUSensorFound() const { return NumGPUs() > 0; }
  bool DriveSensorFound() const { return NumHardwareDrives() >= 1 && NumLogicalDrives() >= 1; }

  TQD_PollingDoneMessageProc OnHWiPollingDone;
  TQD_PollingDoneMessageProc OnInternalPollingDone;

 protected:
  virtual void DoHWiPollingDone(bool ARebuildDriveMonitor, bool ARebuildNetworkMonitor);
  virtual void DoInternalPollingDone(bool ARebuildDriveMonitor, bool ARebuildNetworkMonitor);

 private:
  // Copies the snapshot into the lists and sets the status (and poll time).
  void ReadSnapshot();
  // Derives CPUs, GPUs and hardware drives from the current readings.
  void RebuildHardwareModel();
  // Follows the block's poll time after a poll; see HWiDataStale.
  void TrackHWiDataAge(int64_t ANowMs);
  // Sets the three model lists to their placeholders alone.
  void ResetHardwareModel();
  bool DriveSpaceKnown(int ADriveIndex) const;
  bool ReadCPUInfo() { return QueryCPUInfo(*FPorts.SystemInfo, FCPUInfo); }
  bool ReadRAMInfo() { return QueryRAMInfo(*FPorts.SystemInfo, FRAMIncludeReserved, FRAMInfo); }
  // Label and space come from worker queries: a hung drive must not hang the UI.
  bool ReadLogicalDrives(int64_t ANowMs) { return FVolumeQueries->QueryLogicalDrives(ANowMs, FLogicalDrives); }
  bool TakeLogicalDrives(int64_t ANowMs) { return FVolumeQueries->TakeAnswers(ANowMs, FLogicalDrives); }

  TQD_CollectorPorts FPorts;
  std::unique_ptr<TQD_ThreadWorker> FOwnWorker;  // when the ports bring none
  std::unique_ptr<TQD_VolumeQueries> FVolumeQueries;

  TQD_SensorList FSensorList;
  TQD_ReadingsList FReadingsList;
  TQD_CPUINFO FCPUInfo;
  TQD_RAMINFO FRAMInfo;
  bool FRAMIncludeReserved;
  TQD_DRVMTR_LogicalDrives FLogicalDrives;
  TQD_DRVMTR_HardwareDrives FHardwareDrives;
  TQD_CPUMTR_CPUs FCPUs;
  TQD_GPUMTR_GPUs FGPUs;
  uint32_t FGPUMemoryTotalManual = 0;
  std::unique_ptr<TQD_NIFLogger> FNIFLogger;
  std::unique_ptr<TQD_Timer> FHWiTimer;
  bool FHWiTimerBusy = false;
  bool FHWiPollingFirstRun = true;
  uint8_t FLastHWiPollingStatus = hwsNotPolled;
  double FLastHWiPollingTime = 0;
  int32_t FLastHWiPollingDuration = 0;
  bool FHWiDataStale = false;
  bool FHWiDataSeen = false;         // a poll time is being followed
  double FHWiDataPollTime = 0;       // the block's poll time being followed
  int64_t FHWiDataMovedMs = 0;       // monotonic time it was first seen
  double FHWiDataMovedLocal = 0;
  int64_t FHWiPeriodSteps[kHWiPeriodHistory] = {};  // ms, 0 = none yet
  int FHWiPeriodNext = 0;
  uint64_t FPollsDone = 0;
  uint64_t FHWiPollsDone = 0;
  std::unique_ptr<TQD_Timer> FInternalTimer;
  bool FInternalTimerBusy = false;
  uint8_t FLastInternalPollingStatus = insNotPolled;
  double FLastInternalPollingTime = 0;
  int32_t FLastInternalPollingDuration = 0;
};
