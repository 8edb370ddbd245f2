// sensorfeed's commands on Windows: publish a profile (by default one built
// from this machine's own figures), record the live block to a file, replay a
// file, dump the live block through Quendal's own data logger. Exit codes are
// in command_line.h.
#include <windows.h>

#include <cstdio>
#include <ctime>
#include <exception>
#include <memory>
#include <vector>

#include "sim/block_writer.h"
#include "collector/clock_win32.h"
#include "sensorfeed/command_line.h"
#include "collector/data_logger.h"
#include "sensorfeed/dump_text.h"
#include "collector/hwinfo_sm2.h"
#include "sensorfeed/host_figures_win32.h"
#include "collector/network_win32.h"
#include "sim/profiles.h"
#include "sensorfeed/publisher_win32.h"
#include "sensorfeed/recording.h"
#include "sensorfeed/reports.h"
#include "collector/shared_memory_win32.h"
#include "collector/system_info_win32.h"
#include "collector/timer_queue_timer_win32.h"
#include "base/win32_handles_win32.h"

namespace {

// Largest file replay accepts: far above any real block (a few MB at most).
constexpr uint64_t kMaxReplayLength = 256ull << 20;

void Fail(const std::string& AText) {
  std::fprintf(stderr, "sensorfeed: %s\n", AText.c_str());
  std::fflush(stderr);
}

void Say(const std::string& AText) {
  std::fprintf(stdout, "sensorfeed: %s\n", AText.c_str());
  // Output may be a pipe (scripts, Wine): a line must arrive when it is said.
  std::fflush(stdout);
}

// Texts are UTF-8 ("°C"); a console shows them right only in the UTF-8 code page.
class TConsoleUtf8 {
 public:
  TConsoleUtf8() : FOld(GetConsoleOutputCP()) {
    if (FOld) SetConsoleOutputCP(CP_UTF8);
  }
  ~TConsoleUtf8() {
    if (FOld) SetConsoleOutputCP(FOld);
  }

 private:
  UINT FOld;
};

bool ReadWholeFile(const std::string& AName, std::vector<uint8_t>& ABytes, std::string& AError) {
  HANDLE h = CreateFileW(Utf8ToWide(AName).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    AError = "cannot open \"" + AName + "\": " + SystemErrorText(GetLastError());
    return false;
  }
  TQD_KernelHandle file(h);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(h, &size)) {
    AError = "cannot read the size of \"" + AName + "\": " + SystemErrorText(GetLastError());
    return false;
  }
  if (size.QuadPart <= 0 || static_cast<uint64_t>(size.QuadPart) > kMaxReplayLength) {
    AError = "\"" + AName + "\" has " + std::to_string(size.QuadPart) + " bytes; a block has 4 to " +
             std::to_string(kMaxReplayLength) + " bytes";
    return false;
  }
  ABytes.resize(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  if (!ReadFile(h, ABytes.data(), static_cast<DWORD>(ABytes.size()), &got, nullptr) || got != ABytes.size()) {
    AError = "cannot read \"" + AName + "\": " + SystemErrorText(GetLastError());
    return false;
  }
  return true;
}

bool WriteWholeFile(const std::string& AName, const std::vector<uint8_t>& ABytes, std::string& AError) {
  HANDLE h = CreateFileW(Utf8ToWide(AName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    AError = "cannot create \"" + AName + "\": " + SystemErrorText(GetLastError());
    return false;
  }
  TQD_KernelHandle file(h);
  DWORD written = 0;
  if (!WriteFile(h, ABytes.data(), static_cast<DWORD>(ABytes.size()), &written, nullptr) ||
      written != ABytes.size()) {
    AError = "cannot write \"" + AName + "\": " + SystemErrorText(GetLastError());
    return false;
  }
  return true;
}

// Size and last write time: enough to notice that a replayed file changed.
bool FileStamp(const std::string& AName, uint64_t& AStamp) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Utf8ToWide(AName).c_str(), GetFileExInfoStandard, &data)) return false;
  AStamp = (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime) ^
           (uint64_t{data.nFileSizeLow} << 1);
  return true;
}

std::string Plural(size_t ACount, const char* AWord) {
  return std::to_string(ACount) + " " + AWord + (ACount == 1 ? "" : "s");
}

// Counts of a block as the snapshot copy sees them.
std::string BlockSummary(const std::vector<uint8_t>& ABytes) {
  TQD_SensorList sensors;
  TQD_ReadingsList readings;
  uint8_t status = hwsNotPolled;
  double pollTime = 0;
  ReadHWiNFOSnapshot(ABytes.data(), ABytes.size(), DecodeWindows1252, sensors, readings, status, pollTime);
  return Plural(sensors.size(), "sensor") + ", " + Plural(readings.size() - 1, "reading") + ", " +
         Plural(ABytes.size(), "byte") + ", status " + std::to_string(status);
}

int RunPublish(const TSF_Options& AOptions) {
  TSF_Profile profile;
  if (AOptions.Profile == kHostProfileName) {
    MakeHostProfile(ReadHostFigures(), profile);
  } else if (!MakeProfile(AOptions.Profile, profile)) {
    Fail("unknown profile \"" + AOptions.Profile + "\"");
    return kExitUsage;
  }
  profile.StartPollTime = static_cast<int64_t>(std::time(nullptr));
  profile.Block.PollTime = profile.StartPollTime;
  const std::vector<uint8_t> bytes = WriteBlock(profile.Block);

  std::string error;
  TSF_StopSignal stop;
  if (!stop.Install(AOptions.StopEvent, error)) {
    Fail(error);
    return kExitFailed;
  }
  TSF_Publisher publisher;
  if (!publisher.Create(bytes.size(), error)) {
    Fail(error);
    return kExitFailed;
  }
  publisher.Publish(bytes.data(), bytes.size());
  Say("publishing profile \"" + profile.Name + "\" (" + profile.Description + "; " +
      Plural(profile.Block.Sensors.size(), "sensor") + ", " + Plural(profile.Block.Readings.size(), "reading") +
      ", " + Plural(bytes.size(), "byte") + ") as " + hwinfo_sm2::kMappingName + ", updated every " +
      std::to_string(AOptions.IntervalMs) + " ms; Ctrl+C stops");

  // The ways HWiNFO goes, played at their times, for tests, soaks and demos.
  const ULONGLONG started = GetTickCount64();
  auto after = [&](uint32_t ASeconds) {
    return ASeconds != 0 && GetTickCount64() - started >= ULONGLONG{ASeconds} * 1000;
  };
  bool frozen = false, dead = false;
  uint64_t tick = 1;
  while (!stop.Wait(AOptions.IntervalMs)) {
    if (after(AOptions.ExitAfterS)) break;
    if (!dead && after(AOptions.DeadAfterS)) {
      publisher.MarkDead();
      dead = true;
      Say("the block is marked DEAD and stays mapped");
    }
    if (!frozen && after(AOptions.FreezeAfterS)) {
      frozen = true;
      Say("frozen: the poll time and the values stop moving");
    }
    if (dead || frozen) continue;
    AdvanceProfile(profile, tick++, AOptions.IntervalMs);
    // Readers compare poll times with the clock; the real one is what HWiNFO writes.
    profile.Block.PollTime = static_cast<int64_t>(std::time(nullptr));
    UpdateBlockValues(profile.Block, publisher.Data(), publisher.Length());
  }
  publisher.MarkDead();
  Say("stopped; the block is marked DEAD");
  stop.Done();
  return kExitOK;
}

int RunReplay(const TSF_Options& AOptions) {
  std::string error;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(AOptions.File, bytes, error)) {
    Fail(error);
    return kExitFailed;
  }
  if (bytes.size() < 4) {
    Fail("\"" + AOptions.File + "\" is too short to be a block");
    return kExitFailed;
  }
  TSF_StopSignal stop;
  if (!stop.Install(AOptions.StopEvent, error)) {
    Fail(error);
    return kExitFailed;
  }
  TSF_Publisher publisher;
  if (!publisher.Create(bytes.size(), error)) {
    Fail(error);
    return kExitFailed;
  }
  publisher.Publish(bytes.data(), bytes.size());
  uint64_t stamp = 0;
  FileStamp(AOptions.File, stamp);
  Say("replaying \"" + AOptions.File + "\" (" + BlockSummary(bytes) + ") as " + hwinfo_sm2::kMappingName +
      " unchanged; Ctrl+C stops");

  while (!stop.Wait(AOptions.IntervalMs)) {
    // An edited file is published again; one of another length cannot be,
    // because a mapping's size is fixed.
    uint64_t now = 0;
    if (!FileStamp(AOptions.File, now) || now == stamp) continue;
    std::vector<uint8_t> changed;
    if (ReadWholeFile(AOptions.File, changed, error) && changed.size() == bytes.size()) {
      stamp = now;
      bytes.swap(changed);
      publisher.Publish(bytes.data(), bytes.size());
      Say("\"" + AOptions.File + "\" changed; published again");
    }
  }
  publisher.MarkDead();
  Say("stopped; the block is marked DEAD");
  stop.Done();
  return kExitOK;
}

int RunRecord(const TSF_Options& AOptions) {
  TQD_SharedMemoryWin32 memory;
  std::vector<uint8_t> bytes;
  {
    std::unique_ptr<TQD_MappedView> view = memory.OpenView(hwinfo_sm2::kMappingName);
    if (!view) {
      Fail(std::string("no block to record: ") + hwinfo_sm2::kMappingName +
           " cannot be opened (is HWiNFO or `sensorfeed publish` running?)");
      return kExitFailed;
    }
    // Copy at once and let go of the mapping; the header only shortens the
    // copy to the block's own end, it never lengthens it past the view.
    const size_t length = RecordLength(view->Data(), view->Length());
    bytes.assign(view->Data(), view->Data() + length);
  }
  std::string error;
  if (!WriteWholeFile(AOptions.File, bytes, error)) {
    Fail(error);
    return kExitFailed;
  }
  Say("recorded " + BlockSummary(bytes) + " to \"" + AOptions.File + "\"");
  return kExitOK;
}

int RunDump(const TSF_Options& AOptions) {
  TQD_SharedMemoryWin32 memory;
  TQD_TimerFactoryWin32 timers;
  TQD_ClockWin32 clock;
  TQD_SystemInfoWin32 systemInfo;
  TQD_NetworkWin32 network;
  const TQD_CollectorPorts ports{&memory, &timers, &clock, &systemInfo, &network};
  // The timers are created but never started: one poll, on this thread.
  TQD_DataLogger logger(ports, false, 180, 2000);
  logger.HWiPolling();
  PrintSnapshot(logger, stdout);
  if (AOptions.System) {
    std::fputs("\n== system\n", stdout);
    // The logger's two samples at creation are back to back; a third a
    // second later gives the interfaces a real last sample.
    Sleep(1000);
    logger.InternalPolling();
    PrintSystemReport(logger, stdout);
  }
  if (AOptions.Model) {
    std::fputs("\n== hardware model\n", stdout);
    PrintModelReport(logger, stdout);
  }
  std::fflush(stdout);
  return logger.LastHWiPollingStatus() == hwsOK ? kExitOK : kExitFailed;
}

}  // namespace

int SensorfeedMain(int AArgc, wchar_t** AArgv) {
  TConsoleUtf8 utf8;
  std::vector<std::string> args;
  for (int i = 1; i < AArgc; ++i) args.push_back(WideToUtf8(AArgv[i], wcslen(AArgv[i])));
  TSF_Options options;
  std::string error;
  if (!ParseCommandLine(args, options, error)) {
    Fail(error + " (sensorfeed --help shows the usage)");
    return kExitUsage;
  }
  try {
    switch (options.Command) {
      case TSF_Command::Help:
        std::fputs(UsageText().c_str(), stdout);
        return kExitOK;
      case TSF_Command::Publish: return RunPublish(options);
      case TSF_Command::Replay: return RunReplay(options);
      case TSF_Command::Record: return RunRecord(options);
      case TSF_Command::Dump: return RunDump(options);
    }
  } catch (const std::exception& e) {
    Fail(e.what());
  }
  return kExitFailed;
}
