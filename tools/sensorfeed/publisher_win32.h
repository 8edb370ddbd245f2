// Publishing a block under HWiNFO's name, and the ways a publisher is told to
// stop. Publishing is what HWiNFO does; Quendal itself only ever opens the
// mapping read-only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/win32_handles_win32.h"

// A pagefile-backed mapping "Global\HWiNFO_SENS_SM2" of exactly the block's
// length, mapped writable. The mapping disappears with the last handle, so a
// publisher that exits takes the block with it unless a reader holds it.
class TSF_Publisher {
 public:
  // False with AError when the mapping cannot be created, also when it exists
  // already (HWiNFO or another sensorfeed is publishing).
  bool Create(size_t ALength, std::string& AError);
  uint8_t* Data() const { return static_cast<uint8_t*>(FView.Get()); }
  size_t Length() const { return FLength; }
  // Writes a whole block, its signature last, so that a reader polling in
  // between sees an inactive block rather than a half-written active one.
  void Publish(const uint8_t* ABytes, size_t ALength);
  // What HWiNFO does when it stops publishing.
  void MarkDead();

 private:
  // Member order: the view is unmapped before the mapping handle closes.
  TQD_KernelHandle FMapping;
  TQD_ViewOfFile FView;
  size_t FLength = 0;
};

// Stop requests: Ctrl+C, Ctrl+Break, the console window closing, logoff or
// shutdown, and optionally a named event that another process sets (the
// tests and scripts use that: console control events do not reach a process
// without a console reliably, under Wine least of all).
class TSF_StopSignal {
 public:
  TSF_StopSignal();
  ~TSF_StopSignal();
  TSF_StopSignal(const TSF_StopSignal&) = delete;
  TSF_StopSignal& operator=(const TSF_StopSignal&) = delete;

  // Installs the console handler and opens (or creates) the named event when
  // AEventName is not empty. False with AError when either fails.
  bool Install(const std::string& AEventName, std::string& AError);
  // Waits up to AMs milliseconds; true when a stop was requested.
  bool Wait(uint32_t AMs);
  // Call once the block is marked dead: a console-close handler waits for it,
  // because Windows ends the process as soon as that handler returns.
  void Done();

 private:
  static BOOL WINAPI ConsoleHandler(DWORD ACtrlType);
  static TSF_StopSignal* FActive;
  TQD_KernelHandle FStop;
  TQD_KernelHandle FDone;
  TQD_KernelHandle FNamed;
  bool FInstalled = false;
};
