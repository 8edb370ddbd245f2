// Built-in machine profiles: HWiNFO-style sensors and readings of a few
// typical machines, with values that move plausibly from tick to tick. They
// are sensorfeed's demo data and the fixtures of the tests, which build
// readings from them without any shared memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "block_writer.h"
#include "readings.h"
#include "system_info.h"

struct TSF_Profile {
  std::string Name;
  std::string Description;
  TQD_CPUINFO CPUInfo;  // what the machine's processor counts are (bounds the core rules)
  TSF_Block Block;      // sensors and readings with their starting values
};

// "intel-hybrid" (the default), "amd-desktop", "server".
std::vector<std::string> ProfileNames();
// False for an unknown name.
bool MakeProfile(const std::string& AName, TSF_Profile& AProfile);
// Moves every value one step (deterministic for a given tick), keeps min, max
// and average, and advances the poll time by AIntervalMs.
void AdvanceProfile(TSF_Profile& AProfile, uint64_t ATick, uint32_t AIntervalMs);
// The lists exactly as a poll of the profile's block would leave them.
void LoadProfileLists(const TSF_Profile& AProfile, TQD_SensorList& ASensors, TQD_ReadingsList& AReadings);
