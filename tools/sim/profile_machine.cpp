// A simulated machine; see profile_machine.h.
#include "sim/profile_machine.h"

#include <stdexcept>

#include "sim/block_writer.h"

TProfileMachine::TProfileMachine(const std::string& AProfile) {
  if (!MakeProfile(AProfile, Profile)) throw std::invalid_argument("unknown profile \"" + AProfile + "\"");
  Fakes.SystemInfo.CPU = Profile.CPUInfo;
  Fakes.SystemInfo.Drives = {{true, 0, "C:\\", "System", int64_t{1} << 40, int64_t{300} << 30, 0},
                             {true, 1, "D:\\", "Data", int64_t{2} << 40, int64_t{1500} << 30, 0},
                             {false, 2, "E:\\", "Stick", int64_t{64} << 30, int64_t{10} << 30, 0}};
  Fakes.Network.Rows = {MakeIFRow(1, true), MakeIFRow(2, false)};
  Fakes.Clock.LocalTime = 46000.5;  // 2025-12-09 12:00:00
}

TQD_DataLogger& TProfileMachine::Logger() {
  if (!FLogger) {
    FLogger = std::make_unique<TQD_DataLogger>(Fakes.Ports(), false, 180, 2000);
    Poll(0);
  }
  return *FLogger;
}

void TProfileMachine::Poll(int ATick) {
  TQD_DataLogger& logger = Logger();
  if (ATick > 0) AdvanceProfile(Profile, static_cast<uint64_t>(ATick), 1000);
  Fakes.SharedMemory.Block = WriteBlock(Profile.Block);
  logger.HWiPolling();
  Fakes.Network.Rows[0].InOctets += static_cast<uint64_t>(200000 + (ATick * 7919) % 900000);
  Fakes.Network.Rows[0].OutOctets += static_cast<uint64_t>(50000 + (ATick * 104729) % 300000);
  Fakes.Clock.LocalTime += 1.0 / 86400;
  logger.InternalPolling();
}
