// Child processes for Windows tests: a program from the test's own bin
// folder with its output in a file, killed if still running when the test
// ends, and named stop events for programs started with --stop-event.
#pragma once

#include <windows.h>

#include <string>

#include "base/win32_handles_win32.h"

// The folder of the running test executable, with a trailing separator.
std::wstring BinDir();
// A file name in the temp folder, unique to this process.
std::wstring TempFile(const std::wstring& AName);
std::string ReadFileBytes(const std::wstring& AName);

class TChild {
 public:
  // Runs "<bin>\AProgram AArgs" (AProgram defaults to sensorfeed.exe).
  explicit TChild(const std::wstring& AArgs, const std::wstring& AProgram = L"sensorfeed.exe");
  ~TChild();
  TChild(const TChild&) = delete;
  TChild& operator=(const TChild&) = delete;
  // The exit code, or -1 when the process is still running after AMs.
  int Wait(DWORD AMs);
  std::string Output() const { return ReadFileBytes(FLog); }
  HANDLE Process() const { return FProcess.Get(); }
  DWORD ProcessId() const { return FProcessId; }

 private:
  static inline int FCount = 0;
  std::wstring FLog;
  TQD_KernelHandle FProcess;
  DWORD FProcessId = 0;
};

// A named event that stops a publisher started with --stop-event.
class TStopEvent {
 public:
  TStopEvent();
  std::wstring Arg() const { return L" --stop-event " + FName; }
  void Set() { SetEvent(FEvent.Get()); }

 private:
  static inline int FCount = 0;
  std::wstring FName;
  TQD_KernelHandle FEvent;
};
