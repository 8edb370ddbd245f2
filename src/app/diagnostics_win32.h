// The hidden diagnostics file (Quendal.exe --diagnostics-file PATH): one line
// appended per interval (a minute unless --diagnostics-interval says other
// seconds), of key=value fields so scripts can read it:
//   time=YYYY-MM-DDTHH:MM:SS private_bytes= working_set= gdi= user= kernel=
//   views= polls= hwinfo_polls= paint_ms= gui_gdi= gui_user= process_handles=
//   hwinfo_status=<the HWiNFO status text, to the end of the line>
// gdi … views are the live counts of our own handle types; gui_* and
// process_handles are what the system says, "-" where it does not say (Wine
// answers 0 to GetGuiResources). Off unless asked for; it is a tool for
// finding leaks in long runs, not a log.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/main_form.h"
#include "collector/timer_queue_timer_win32.h"

struct TQD_DiagnosticsOptions {
  std::wstring Path;              // empty: off
  uint32_t IntervalSeconds = 60;
};

// Picks --diagnostics-file PATH and --diagnostics-interval S out of the
// process's command line; everything else is left alone.
TQD_DiagnosticsOptions ParseDiagnosticsOptions(const wchar_t* ACommandLine);

class TQD_DiagnosticsFile {
 public:
  // Writes a first line at once, then one per interval, on this (the UI) thread.
  TQD_DiagnosticsFile(const TQD_DiagnosticsOptions& AOptions, TQD_MainForm& AForm);
  ~TQD_DiagnosticsFile();
  TQD_DiagnosticsFile(const TQD_DiagnosticsFile&) = delete;
  TQD_DiagnosticsFile& operator=(const TQD_DiagnosticsFile&) = delete;

  void WriteLine();

 private:
  std::wstring FPath;
  TQD_MainForm& FForm;
  std::unique_ptr<TTimerQueueTimer> FTimer;
};
