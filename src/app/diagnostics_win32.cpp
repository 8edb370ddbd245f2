// The diagnostics file; see diagnostics_win32.h.
#include "app/diagnostics_win32.h"

#include <psapi.h>
#include <shellapi.h>

#include <cwchar>

#include "base/win32_handles_win32.h"

namespace {

// 0 from a system counter means "not implemented" here: a process with
// windows always holds some GUI objects and handles.
std::string SystemCount(DWORD AValue) { return AValue ? std::to_string(AValue) : "-"; }

// Committed private memory, summed over the address space: what
// PrivateUsage means, for systems that leave that field 0 (Wine does).
uint64_t CommittedPrivateBytes() {
  uint64_t total = 0;
  MEMORY_BASIC_INFORMATION info{};
  for (const char* p = nullptr; VirtualQuery(p, &info, sizeof info) == sizeof info;) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    const char* next = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    if (next <= p) break;
    p = next;
  }
  return total;
}

}  // namespace

TQD_DiagnosticsOptions ParseDiagnosticsOptions(const wchar_t* ACommandLine) {
  TQD_DiagnosticsOptions options;
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(ACommandLine, &count);
  if (!args) return options;
  for (int i = 1; i + 1 < count; ++i) {
    if (std::wcscmp(args[i], L"--diagnostics-file") == 0) {
      options.Path = args[++i];
    } else if (std::wcscmp(args[i], L"--diagnostics-interval") == 0) {
      const long seconds = std::wcstol(args[++i], nullptr, 10);
      if (seconds >= 1 && seconds <= 3600) options.IntervalSeconds = static_cast<uint32_t>(seconds);
    }
  }
  LocalFree(args);
  return options;
}

TQD_DiagnosticsFile::TQD_DiagnosticsFile(const TQD_DiagnosticsOptions& AOptions, TQD_MainForm& AForm)
    : FPath(AOptions.Path), FForm(AForm), FTimer(std::make_unique<TTimerQueueTimer>()) {
  FTimer->SetInterval(AOptions.IntervalSeconds * 1000);
  FTimer->SetDueTime(AOptions.IntervalSeconds * 1000);
  FTimer->OnTimer = [this](TQD_Timer&) { WriteLine(); };
  WriteLine();
  FTimer->SetEnabled(true);
}

TQD_DiagnosticsFile::~TQD_DiagnosticsFile() { FTimer.reset(); }

void TQD_DiagnosticsFile::WriteLine() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  char time[32];
  std::snprintf(time, sizeof time, "%04u-%02u-%02uT%02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                t.wSecond);
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  const bool haveMemory =
      GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  DWORD handles = 0;
  if (!GetProcessHandleCount(GetCurrentProcess(), &handles)) handles = 0;
  int64_t paint = 0;
  for (int k = 0; k < kMonitorKindCount; ++k)
    if (const TQD_MonitorWindow* w = FForm.MonitorWindow(static_cast<TQD_MonitorKind>(k)))
      paint += w->LastPaintDuration();
  const TQD_DataLogger* logger = FForm.DataLogger();

  std::string line = std::string("time=") + time;
  const uint64_t privateBytes = haveMemory && memory.PrivateUsage ? memory.PrivateUsage : CommittedPrivateBytes();
  line += " private_bytes=" + std::to_string(privateBytes);
  line += " working_set=" + (haveMemory ? std::to_string(memory.WorkingSetSize) : std::string("-"));
  line += " gdi=" + std::to_string(LiveHandleCount(hkGdi));
  line += " user=" + std::to_string(LiveHandleCount(hkUser));
  line += " kernel=" + std::to_string(LiveHandleCount(hkKernel));
  line += " views=" + std::to_string(LiveHandleCount(hkView));
  line += " polls=" + std::to_string(logger ? logger->PollsDone() : 0);
  line += " hwinfo_polls=" + std::to_string(logger ? logger->HWiPollsDone() : 0);
  line += " paint_ms=" + std::to_string(paint);
  line += " gui_gdi=" + SystemCount(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  line += " gui_user=" + SystemCount(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  line += " process_handles=" + SystemCount(handles);
  // Last, as it holds blanks: what the status panel and the tray tip say.
  line += " hwinfo_status=" + FForm.StatusPanel3();
  line += "\r\n";

  // Opened for each line: the file can be read, moved or deleted between lines.
  const HANDLE h = CreateFileW(FPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  TQD_KernelHandle file(h);
  DWORD written = 0;
  WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}
