// sensorfeed's command line: what the user asked for, checked before any
// mapping is touched, and the usage text. Portable so that it is tested on
// any host; the Windows entry point only converts the arguments to UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/profiles.h"

enum class TSF_Command { Help, Publish, Record, Replay, Dump };

struct TSF_Options {
  TSF_Command Command = TSF_Command::Help;
  std::string Profile = kHostProfileName;
  uint32_t IntervalMs = 1000;
  std::string File;       // record, replay
  std::string StopEvent;  // publish, replay: a named event that stops the publisher when set
  // publish: seconds after which HWiNFO's ways of going are played (0: never).
  uint32_t FreezeAfterS = 0;  // the block stops moving (a hung HWiNFO)
  uint32_t DeadAfterS = 0;    // the block is marked DEAD and kept mapped
  uint32_t ExitAfterS = 0;    // the publisher ends (DEAD, then the mapping goes)
  bool System = false;    // dump --system
  bool Model = false;     // dump --model
};

inline constexpr uint32_t kMinIntervalMs = 20;
inline constexpr uint32_t kMaxIntervalMs = 60000;

// Exit codes.
inline constexpr int kExitOK = 0;
inline constexpr int kExitFailed = 1;  // the command ran and failed (no block, file unreadable, ...)
inline constexpr int kExitUsage = 2;   // the command line was wrong

// AArgs without the program name. False with AError set when the command line
// is wrong (unknown command or option, missing or bad value, unknown profile).
bool ParseCommandLine(const std::vector<std::string>& AArgs, TSF_Options& AOptions, std::string& AError);

std::string UsageText();

// The Windows entry point's work (commands_win32.cpp); main.cpp only forwards.
int SensorfeedMain(int AArgc, wchar_t** AArgv);
