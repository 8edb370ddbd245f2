// The data logger's polls, state machine and lookups; see data_logger.h.
#include "collector/data_logger.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

#include "base/busy_guard.h"
#include "base/cost_meter.h"
#include "collector/units.h"

namespace {

int32_t ElapsedMs(TQD_Clock& AClock, int64_t AStart) {
  return static_cast<int32_t>(AClock.MonotonicMs() - AStart);
}

// Last index i >= 1 whose Instance equals AInst; 0 (the placeholder) otherwise.
template <typename List>
int LastIndexOfInstance(const List& AList, uint32_t AInst) {
  if (AList.size() < 2) return 0;
  for (size_t i = AList.size() - 1; i >= 1; --i)
    if (AList[i].Instance == AInst) return static_cast<int>(i);
  return 0;
}

}  // namespace

TQD_DataLogger::TQD_DataLogger(const TQD_CollectorPorts& APorts, bool ARAMIncludeReserved,
                               uint32_t ANetBufferLen, uint32_t AHWiPollingInterval)
    : FPorts(APorts), FRAMIncludeReserved(ARAMIncludeReserved) {
  if (!FPorts.SharedMemory || !FPorts.Timers || !FPorts.Clock || !FPorts.SystemInfo ||
      !FPorts.Network)
    throw std::invalid_argument("TQD_DataLogger: every port must be given");
  if (!FPorts.Worker) {
    FOwnWorker = std::make_unique<TQD_ThreadWorker>();
    FPorts.Worker = FOwnWorker.get();
  }
  FVolumeQueries = std::make_unique<TQD_VolumeQueries>(*FPorts.SystemInfo, *FPorts.Worker);
  ReadCPUInfo();
  ReadRAMInfo();
  ReadLogicalDrives(FPorts.Clock->MonotonicMs());
  FNIFLogger = std::make_unique<TQD_NIFLogger>(*FPorts.Network, ANetBufferLen);
  FNIFLogger->GetNIFInfo();

  FInternalTimer = FPorts.Timers->CreateTimer();
  FInternalTimer->SetInterval(1000);
  FInternalTimer->OnTimer = [this](TQD_Timer&) { InternalPolling(); };

  FHWiTimer = FPorts.Timers->CreateTimer();
  FHWiTimer->SetInterval(AHWiPollingInterval);
  FHWiTimer->OnTimer = [this](TQD_Timer&) { HWiPolling(); };
}

TQD_DataLogger::~TQD_DataLogger() {
  FHWiTimer.reset();
  FInternalTimer.reset();
  FNIFLogger.reset();
  FVolumeQueries.reset();
}

void TQD_DataLogger::Start() {
  FInternalTimer->SetEnabled(true);
  FHWiTimer->SetEnabled(true);
}

void TQD_DataLogger::Stop() {
  FHWiTimer->SetEnabled(false);
  FInternalTimer->SetEnabled(false);
}

void TQD_DataLogger::SetInternalPollingInterval(uint32_t AValue) {
  Stop();
  FInternalTimer->SetInterval(AValue);
  Start();
}

void TQD_DataLogger::SetHWiPollingInterval(uint32_t AValue) {
  if (AValue == FHWiTimer->Interval()) return;
  Stop();
  FHWiTimer->SetInterval(AValue);
  Start();
}

void TQD_DataLogger::DoHWiPollingDone(bool ARebuildDriveMonitor, bool ARebuildNetworkMonitor) {
  if (OnHWiPollingDone) OnHWiPollingDone(*this, ARebuildDriveMonitor, ARebuildNetworkMonitor);
}

void TQD_DataLogger::DoInternalPollingDone(bool ARebuildDriveMonitor, bool ARebuildNetworkMonitor) {
  if (OnInternalPollingDone) OnInternalPollingDone(*this, ARebuildDriveMonitor, ARebuildNetworkMonitor);
}

void TQD_DataLogger::ReadSnapshot() {
  std::unique_ptr<TQD_MappedView> view = FPorts.SharedMemory->OpenView(hwinfo_sm2::kMappingName);
  if (!view) {
    ResetSnapshotLists(FSensorList, FReadingsList);
    FLastHWiPollingStatus = hwsNoMapping;
    return;
  }
  // The view is unmapped and the mapping closed when `view` goes out of
  // scope, on every path, so HWiNFO can stop at any time.
  ReadHWiNFOSnapshot(view->Data(), view->Length(), FPorts.SharedMemory->AnsiDecoder(), FSensorList,
                     FReadingsList, FLastHWiPollingStatus, FLastHWiPollingTime);
}

void TQD_DataLogger::ResetHardwareModel() {
  FCPUs.assign(1, TQD_CPUMTR_ACPU{});
  FGPUs.assign(1, TQD_GPUMTR_AGPU{});
  FHardwareDrives.assign(1, TQD_DRVMTR_AHardwareDrive{});
}

void TQD_DataLogger::HWiPolling() {
  const TQD_BusyGuard busy(FHWiTimerBusy);
  if (!busy) return;
  const int64_t start = FPorts.Clock->MonotonicMs();

  ++FPollsDone;
  ++FHWiPollsDone;
  {
    TQD_CostScope cost(TQD_CostKind::HWiNFOPoll);
    ReadSnapshot();
    TrackHWiDataAge(start);
    if (FLastHWiPollingStatus != hwsOK) {
      ResetHardwareModel();
      FHWiPollingFirstRun = true;
    } else if (FHWiPollingFirstRun) {
      RebuildHardwareModel();
      FHWiPollingFirstRun = false;
    }
  }
  // Otherwise the model stands: it holds URIDs only, values are looked up afresh.

  FLastHWiPollingDuration = ElapsedMs(*FPorts.Clock, start);
  DoHWiPollingDone(false, false);
}

void TQD_DataLogger::InternalPolling() {
  const TQD_BusyGuard busy(FInternalTimerBusy);
  if (!busy) return;
  const int64_t start = FPorts.Clock->MonotonicMs();

  ++FPollsDone;
  FLastInternalPollingStatus = insOK;
  FLastInternalPollingTime = FPorts.Clock->LocalNow();
  int drivesBefore = 0, drivesAfter = 0;
  {
    TQD_CostScope cost(TQD_CostKind::InternalPoll);
    {
      // The drives' queries run on a worker meanwhile.
      TQD_CostScope part(TQD_CostKind::DriveInfo);
      FVolumeQueries->StartQueries(start);
    }
    {
      TQD_CostScope part(TQD_CostKind::MemoryInfo);
      if (!ReadRAMInfo()) FLastInternalPollingStatus = insFailed;
    }
    {
      TQD_CostScope part(TQD_CostKind::NetworkInfo);
      if (!FNIFLogger->GetNIFInfo()) FLastInternalPollingStatus = insFailed;
    }
    TQD_CostScope part(TQD_CostKind::DriveInfo);
    drivesBefore = NumLogicalDrives();
    if (!TakeLogicalDrives(start)) FLastInternalPollingStatus = insFailed;
    drivesAfter = NumLogicalDrives();
  }
  const bool ifStatusChanged = FNIFLogger->IFStatusChanged();

  FLastInternalPollingDuration = ElapsedMs(*FPorts.Clock, start);
  DoInternalPollingDone(drivesBefore != drivesAfter, ifStatusChanged);
}

int64_t TQD_DataLogger::HWiBlockPeriodMs() const {
  int64_t period = 0;
  for (int64_t step : FHWiPeriodSteps) period = std::max(period, step);
  return period;
}

void TQD_DataLogger::TrackHWiDataAge(int64_t ANowMs) {
  if (FLastHWiPollingStatus != hwsOK) {
    // Gone, dead or unreadable is said by the status; a returning HWiNFO may
    // poll at another rate, so its history starts afresh.
    FHWiDataStale = false;
    FHWiDataSeen = false;
    std::fill(std::begin(FHWiPeriodSteps), std::end(FHWiPeriodSteps), 0);
    return;
  }
  if (!FHWiDataSeen || FLastHWiPollingTime != FHWiDataPollTime) {
    // Only forward steps tell HWiNFO's period; a clock set back is movement all the same.
    if (FHWiDataSeen && FLastHWiPollingTime > FHWiDataPollTime) {
      const double stepMs = (FLastHWiPollingTime - FHWiDataPollTime) * 86400000.0;
      FHWiPeriodSteps[FHWiPeriodNext] = static_cast<int64_t>(std::min(stepMs, 86400000.0) + 0.5);
      FHWiPeriodNext = (FHWiPeriodNext + 1) % kHWiPeriodHistory;
    }
    FHWiDataSeen = true;
    FHWiDataPollTime = FLastHWiPollingTime;
    FHWiDataMovedMs = ANowMs;
    FHWiDataMovedLocal = FPorts.Clock->LocalNow();
    FHWiDataStale = false;
    return;
  }
  const int64_t ownPeriod = HWiBlockPeriodMs();
  const int64_t period = std::max<int64_t>(ownPeriod > 0 ? ownPeriod : kHWiUnknownPeriodMs, HWiPollingInterval());
  FHWiDataStale = ANowMs - FHWiDataMovedMs > 3 * period;
}

// --- lookups -----------------------------------------------------------------

int TQD_DataLogger::GetReadingIndex(const TQD_URID& AURID) const {
  // Frozen values are not shown as if they were live.
  if (FHWiDataStale) return 0;
  for (size_t i = 1; i < FReadingsList.size(); ++i) {
    const TQD_ReadingsListItem& r = FReadingsList[i];
    if (r.dwSensorID == AURID.dwSensorID && r.dwSensorInst == AURID.dwSensorInst &&
        r.dwReadingID == AURID.dwReadingID)
      return static_cast<int>(i);
  }
  return 0;
}

std::string TQD_DataLogger::GetUserLabel(const TQD_URID& AURID) const {
  if (FReadingsList.size() < 2) return "-";
  return FReadingsList[static_cast<size_t>(GetReadingIndex(AURID))].szLabelUser;
}

int TQD_DataLogger::GetUnit(int AIndex) const {
  if (AIndex <= 0 || static_cast<size_t>(AIndex) >= FReadingsList.size()) return unitNone;
  return FindHWiNFOUnit(FReadingsList[static_cast<size_t>(AIndex)].szUnit.c_str());
}

double TQD_DataLogger::GetValue(int AIndex, TQD_DynamicCaptionSource ASource) const {
  if (AIndex <= 0 || static_cast<size_t>(AIndex) >= FReadingsList.size()) return 0;
  const TQD_ReadingsListItem& r = FReadingsList[static_cast<size_t>(AIndex)];
  switch (ASource) {
    case dcsValue: return r.Value;
    case dcsValueMin: return r.ValueMin;
    case dcsValueMax: return r.ValueMax;
    case dcsValueAvg: return r.ValueAvg;
    default: return 0;
  }
}

int TQD_DataLogger::GetCPUIndex(uint32_t ASensorInst) const {
  return LastIndexOfInstance(FCPUs, ASensorInst);
}
int TQD_DataLogger::GetGPUIndex(uint32_t ASensorInst) const {
  return LastIndexOfInstance(FGPUs, ASensorInst);
}
int TQD_DataLogger::GetDriveIndex(uint32_t ASensorInst) const {
  return LastIndexOfInstance(FHardwareDrives, ASensorInst);
}
