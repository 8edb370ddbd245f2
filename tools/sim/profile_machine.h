// A simulated machine for tests, benchmarks and previews: a built-in
// sensorfeed profile published through the fake ports into a data logger,
// polled the way the timers would poll it, with drives, network traffic and
// a clock that moves one second per poll.
#pragma once

#include <memory>
#include <string>

#include "collector/data_logger.h"
#include "sim/fake_ports.h"
#include "sim/profiles.h"

class TProfileMachine {
 public:
  // Throws std::invalid_argument for an unknown profile name.
  explicit TProfileMachine(const std::string& AProfile);

  // Made on first use (so the block can still be changed) and polled once.
  TQD_DataLogger& Logger();
  // Advances the profile to ATick (tick 0 publishes it as it is), runs the
  // HWiNFO poll, adds some traffic to the first interface, moves the clock
  // by a second and runs the internal poll.
  void Poll(int ATick);

  TSF_Profile Profile;
  TFakeCollector Fakes;

 private:
  std::unique_ptr<TQD_DataLogger> FLogger;
};
