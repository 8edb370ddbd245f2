// Test doubles for the collector's ports: a block in memory instead of a
// mapping, timers that tick when the test says so, a settable clock, and
// scripted system-information and network answers.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "collector/ports.h"
#include "collector/volume_queries.h"

// Serves a byte block under a name; an absent block is a missing mapping.
class TFakeSharedMemory : public TQD_SharedMemoryPort {
 public:
  std::unique_ptr<TQD_MappedView> OpenView(const std::string& AName) override;
  std::optional<std::vector<uint8_t>> Block;  // nullopt: no such mapping
  std::string LastName;
  int OpenCount = 0;
  int LiveViews = 0;  // views currently held: must drop to 0 after every poll
};

class TFakeTimer : public TQD_Timer {
 public:
  bool Enabled() const override { return FEnabled; }
  void SetEnabled(bool AValue) override;
  uint32_t DueTime() const override { return FDueTime; }
  void SetDueTime(uint32_t AValue) override { if (!FEnabled) FDueTime = AValue; }
  uint32_t Interval() const override { return FInterval; }
  void SetInterval(uint32_t AValue) override { if (!FEnabled) FInterval = AValue; }
  uint32_t Count() const override { return FCount; }
  // Delivers one tick as the message handler would.
  void Tick();
  int EnableCount = 0;

 private:
  bool FEnabled = false;
  uint32_t FDueTime = 0;
  uint32_t FInterval = 1000;
  uint32_t FCount = 0;
};

class TFakeTimerFactory : public TQD_TimerFactory {
 public:
  std::unique_ptr<TQD_Timer> CreateTimer() override;
  std::vector<TFakeTimer*> Created;  // in creation order
};

class TFakeClock : public TQD_Clock {
 public:
  int64_t MonotonicMs() override { Now += Step; return Now; }
  int64_t MonotonicUs() override {
    Now += Step;
    NowUs += StepUs;
    return Now * 1000 + NowUs;
  }
  double LocalNow() override { return LocalTime; }
  int64_t Now = 0;
  int64_t Step = 0;    // added on every read, so a poll measures Step ms
  int64_t NowUs = 0;   // microseconds beyond Now
  int64_t StepUs = 0;  // added on every microsecond read as well

  double LocalTime = 45000.5;
};

// Answers the raw system calls from the records a test wants to see: CPU
// becomes a vendor text and a topology list (with cache entries mixed in, as
// the system lists them), RAM the installed kilobytes and the memory status,
// Drives the root paths and per-drive answers. A drive whose TotalSpace is -1
// cannot be queried for its space.
class TFakeSystemInfo : public TQD_SystemInfoPort {
 public:
  std::string CPUVendorText() override;
  bool GetProcessorRelationships(std::vector<uint32_t>& ARelationships) override;
  uint32_t GetNumberOfProcessors() override { return CPU.NumLogicalProcessors; }
  bool GetInstalledMemoryKB(uint64_t& AKilobytes) override;
  bool GetMemoryStatus(uint64_t& ATotalPhys, uint64_t& AAvailPhys) override;
  std::vector<std::string> GetLogicalDriveRoots() override;
  uint32_t GetDriveTypeCode(const std::string& ARoot) override;
  bool GetVolumeLabel(const std::string& ARoot, std::string& ALabel) override;
  bool GetDiskSpace(const std::string& ARoot, int64_t& ATotal, int64_t& AFree) override;
  TQD_CPUINFO CPU{1, 1, 8, 16};
  TQD_RAMINFO RAM{uint64_t{16} << 30, (uint64_t{16} << 30) - (256u << 20), 0, uint64_t{8} << 30};
  std::vector<TQD_DRVMTR_ALogicalDrive> Drives;  // without the placeholder
  bool RAMFails = false;        // both memory queries fail
  bool InstalledFails = false;  // only the installed-memory query fails
  bool DrivesFail = false;      // the root list comes back empty
  bool TopologyFails = false;
  std::optional<std::string> VendorText;  // instead of the text CPU.Vendor implies
  std::vector<std::string> QueriedRoots;  // every root asked for a label or space

 private:
  const TQD_DRVMTR_ALogicalDrive* Find(const std::string& ARoot) const;
};

class TFakeNetwork : public TQD_NetworkPort {
 public:
  bool GetIfTable(std::vector<TQD_IFRow>& ARows) override;
  std::vector<TQD_IFRow> Rows;
  bool Fails = false;
};

// Everything a data logger needs, wired together.
struct TFakeCollector {
  TFakeSharedMemory SharedMemory;
  TFakeTimerFactory Timers;
  TFakeClock Clock;
  TFakeSystemInfo SystemInfo;
  TFakeNetwork Network;
  // Drive queries answer within the poll that asks them, as the system's do
  // for a healthy drive.
  TQD_InlineWorker Worker;
  TQD_CollectorPorts Ports() {
    return TQD_CollectorPorts{&SharedMemory, &Timers, &Clock, &SystemInfo, &Network, &Worker};
  }
};

TQD_GUID MakeGuid(uint8_t ASeed);
TQD_IFRow MakeIFRow(uint8_t ASeed, bool AUp, uint64_t AInOctets = 0, uint64_t AOutOctets = 0);
