// The operating-system services the data logger needs, as small interfaces.
// Each has a thin Win32 implementation (*_win32.cpp) and fakes in the tests,
// so every rule of the collector runs and is tested on any host.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "collector/hwinfo_sm2.h"
#include "collector/system_info.h"

// --- shared memory -----------------------------------------------------------

// A read-only view of a named block. Destroying it unmaps the view and closes
// the mapping, so holding one is holding the mapping.
class TQD_MappedView {
 public:
  virtual ~TQD_MappedView() = default;
  virtual const uint8_t* Data() const = 0;
  // The view's real size, as the system reports it, not as the block claims.
  virtual size_t Length() const = 0;
};

class TQD_SharedMemoryPort {
 public:
  virtual ~TQD_SharedMemoryPort() = default;
  // Opens the named mapping read-only and maps all of it; nullptr when either
  // step fails (the block is then absent for the poll: status 255).
  virtual std::unique_ptr<TQD_MappedView> OpenView(const std::string& AName) = 0;
  // How 8-bit texts in the block are decoded to UTF-8.
  virtual TQD_AnsiDecoder AnsiDecoder() const { return DecodeWindows1252; }
};

// --- timers ------------------------------------------------------------------

// A periodic timer whose ticks arrive on the thread that created it.
class TQD_Timer {
 public:
  virtual ~TQD_Timer() = default;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool AValue) = 0;
  virtual uint32_t DueTime() const = 0;
  virtual void SetDueTime(uint32_t AValue) = 0;  // ignored while enabled
  virtual uint32_t Interval() const = 0;
  virtual void SetInterval(uint32_t AValue) = 0;  // ignored while enabled
  // The callback number carried by the last tick handled.
  virtual uint32_t Count() const = 0;
  std::function<void(TQD_Timer& Sender)> OnTimer;
};

class TQD_TimerFactory {
 public:
  virtual ~TQD_TimerFactory() = default;
  virtual std::unique_ptr<TQD_Timer> CreateTimer() = 0;
};

// --- clock -------------------------------------------------------------------

class TQD_Clock {
 public:
  virtual ~TQD_Clock() = default;
  // Monotonic milliseconds for stopwatches.
  virtual int64_t MonotonicMs() = 0;
  // The same clock in microseconds, for stopwatches of sub-millisecond steps
  // whose sum is shown in milliseconds.
  virtual int64_t MonotonicUs() = 0;
  // The local date and time, as days since 1899-12-30.
  virtual double LocalNow() = 0;
};

// --- network -----------------------------------------------------------------

using TQD_GUID = std::array<uint8_t, 16>;

// The parts of an interface row the network logger uses.
struct TQD_IFRow {
  TQD_GUID InterfaceGuid{};
  std::string Description;  // UTF-8
  uint32_t OperStatus = 0;  // 1 = up
  uint32_t InterfaceAndOperStatusFlags = 0;  // bit 0: hardware interface
  uint64_t TransmitLinkSpeed = 0;  // bits per second
  uint64_t ReceiveLinkSpeed = 0;
  uint64_t InOctets = 0;
  uint64_t OutOctets = 0;
};

class TQD_NetworkPort {
 public:
  virtual ~TQD_NetworkPort() = default;
  // The current interface table; false when the call fails. ARows ends up
  // holding exactly the table's rows; existing elements are overwritten in
  // place so a sample need not allocate. Undefined content after a failure.
  virtual bool GetIfTable(std::vector<TQD_IFRow>& ARows) = 0;
};

// --- workers -------------------------------------------------------------------

// Runs a task away from the calling thread (system calls that may hang).
class TQD_WorkerPort {
 public:
  virtual ~TQD_WorkerPort() = default;
  virtual void Run(std::function<void()> ATask) = 0;
};

// --- the set handed to the data logger ---------------------------------------

struct TQD_CollectorPorts {
  TQD_SharedMemoryPort* SharedMemory = nullptr;
  TQD_TimerFactory* Timers = nullptr;
  TQD_Clock* Clock = nullptr;
  TQD_SystemInfoPort* SystemInfo = nullptr;
  TQD_NetworkPort* Network = nullptr;
  // Optional: where drive volume queries run; a TQD_ThreadWorker of the data
  // logger's own when null.
  TQD_WorkerPort* Worker = nullptr;
};
