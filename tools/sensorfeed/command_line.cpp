// Parsing sensorfeed's command line; see command_line.h.
#include "sensorfeed/command_line.h"

#include <algorithm>

#include "sim/profiles.h"

namespace {

std::vector<std::string> PublishableProfiles() {
  std::vector<std::string> names = ProfileNames();
  names.insert(names.begin(), kHostProfileName);
  return names;
}

std::string ProfileList() {
  std::string s;
  for (const std::string& n : PublishableProfiles()) s += (s.empty() ? "" : ", ") + n;
  return s;
}

bool ParseInterval(const std::string& AText, uint32_t& AValue) {
  if (AText.empty() || AText.size() > 6) return false;
  uint32_t v = 0;
  for (char c : AText) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint32_t>(c - '0');
  }
  if (v < kMinIntervalMs || v > kMaxIntervalMs) return false;
  AValue = v;
  return true;
}

// Whole seconds, 1 to a day.
bool ParseSeconds(const std::string& AText, uint32_t& AValue) {
  if (AText.empty() || AText.size() > 5) return false;
  uint32_t v = 0;
  for (char c : AText) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint32_t>(c - '0');
  }
  if (v < 1 || v > 86400) return false;
  AValue = v;
  return true;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& AArgs, TSF_Options& AOptions, std::string& AError) {
  AOptions = TSF_Options{};
  AError.clear();
  if (AArgs.empty() || AArgs[0] == "--help" || AArgs[0] == "-h" || AArgs[0] == "/?" || AArgs[0] == "help") {
    AOptions.Command = TSF_Command::Help;
    return true;
  }
  const std::string& cmd = AArgs[0];
  if (cmd == "publish") AOptions.Command = TSF_Command::Publish;
  else if (cmd == "record") AOptions.Command = TSF_Command::Record;
  else if (cmd == "replay") AOptions.Command = TSF_Command::Replay;
  else if (cmd == "dump") AOptions.Command = TSF_Command::Dump;
  else {
    AError = "unknown command \"" + cmd + "\"";
    return false;
  }
  const TSF_Command c = AOptions.Command;
  bool haveFile = false;
  for (size_t i = 1; i < AArgs.size(); ++i) {
    const std::string& a = AArgs[i];
    const bool hasValue = i + 1 < AArgs.size();
    if (a == "--help" || a == "-h") {
      AOptions.Command = TSF_Command::Help;
      return true;
    } else if (a == "--profile" && c == TSF_Command::Publish) {
      if (!hasValue) { AError = "--profile needs a name (" + ProfileList() + ")"; return false; }
      AOptions.Profile = AArgs[++i];
      const std::vector<std::string> names = PublishableProfiles();
      if (std::find(names.begin(), names.end(), AOptions.Profile) == names.end()) {
        AError = "unknown profile \"" + AOptions.Profile + "\"; the profiles are: " + ProfileList();
        return false;
      }
    } else if (a == "--interval" && (c == TSF_Command::Publish || c == TSF_Command::Replay)) {
      if (!hasValue || !ParseInterval(AArgs[i + 1], AOptions.IntervalMs)) {
        AError = "--interval needs milliseconds from " + std::to_string(kMinIntervalMs) + " to " +
                 std::to_string(kMaxIntervalMs);
        return false;
      }
      ++i;
    } else if ((a == "--freeze-after" || a == "--dead-after" || a == "--exit-after") && c == TSF_Command::Publish) {
      uint32_t& target = a == "--freeze-after" ? AOptions.FreezeAfterS
                         : a == "--dead-after" ? AOptions.DeadAfterS
                                               : AOptions.ExitAfterS;
      if (!hasValue || !ParseSeconds(AArgs[i + 1], target)) {
        AError = a + " needs seconds from 1 to 86400";
        return false;
      }
      ++i;
    } else if (a == "--stop-event" && (c == TSF_Command::Publish || c == TSF_Command::Replay)) {
      if (!hasValue || AArgs[i + 1].empty()) { AError = "--stop-event needs an event name"; return false; }
      AOptions.StopEvent = AArgs[++i];
    } else if (a == "--system" && c == TSF_Command::Dump) {
      AOptions.System = true;
    } else if (a == "--model" && c == TSF_Command::Dump) {
      AOptions.Model = true;
    } else if (!a.empty() && a[0] != '-' && !haveFile && (c == TSF_Command::Record || c == TSF_Command::Replay)) {
      AOptions.File = a;
      haveFile = true;
    } else {
      AError = "unexpected argument \"" + a + "\" for " + cmd;
      return false;
    }
  }
  if ((c == TSF_Command::Record || c == TSF_Command::Replay) && !haveFile) {
    AError = cmd + " needs a file name";
    return false;
  }
  return true;
}

std::string UsageText() {
  return "sensorfeed: publishes a HWiNFO-compatible sensor block (Global\\HWiNFO_SENS_SM2) for Quendal\n"
         "\n"
         "usage:\n"
         "  sensorfeed publish [--profile NAME] [--interval MS] [--stop-event NAME]\n"
         "                    [--freeze-after S] [--dead-after S] [--exit-after S]\n"
         "      publish a machine whose values move every interval (default 1000 ms)\n"
         "      until Ctrl+C, the console closing, or the named event being set;\n"
         "      the block is marked DEAD on the way out. The default profile, host, is\n"
         "      this machine (its processor, package, core and thread counts, and RAM, so\n"
         "      Quendal shows every core here) with intel-hybrid's GPU and drives.\n"
         "      After S seconds, --freeze-after stops the poll time and values (a hung\n"
         "      HWiNFO), --dead-after marks the block DEAD but keeps it mapped,\n"
         "      --exit-after ends the publisher\n"
         "  sensorfeed record FILE\n"
         "      copy the live block byte for byte to FILE\n"
         "  sensorfeed replay FILE [--interval MS] [--stop-event NAME]\n"
         "      publish FILE unchanged until stopped; checks every interval whether FILE\n"
         "      changed (same size) and republishes it\n"
         "  sensorfeed dump [--system] [--model]\n"
         "      read the live block as Quendal does and print the polling status, sensors and\n"
         "      readings; --system adds the system information, --model the hardware model\n"
         "\n"
         "profiles: " + ProfileList() + " (default " + kHostProfileName + ")\n"
         "exit codes: 0 done, 1 failed (no block, mapping exists, file error), 2 bad command line\n"
         "Creating a Global\\ mapping needs an elevated prompt on Windows.\n";
}
