// Built-in machine profiles: HWiNFO-style sensors and readings of a few
// typical machines, with values that move plausibly from tick to tick. They
// are sensorfeed's demo data and the fixtures of the tests, which build
// readings from them without any shared memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/block_writer.h"
#include "collector/readings.h"
#include "collector/system_info.h"

// A load signal between 0 and 1 (a processor, a core, a GPU, a drive). The
// readings of one machine part follow the same driver, so a core's clock,
// power and temperature rise together with its load. Its value is a pure
// function of the tick: slow swings, per-tick noise and short bursts.
struct TSF_Driver {
  double Base = 0.2;    // mean load
  double Swing = 0.1;   // amplitude of the slow swings
  double Period = 30;   // ticks of the slowest swing
  double Noise = 0.05;  // amplitude of the per-tick noise
  double Burst = 0;     // share of ticks that run at (nearly) full load
  uint64_t Seed = 0;
  int32_t Parent = -1;  // a core follows its package: Weight × parent + (1 − Weight) × own
  double Weight = 0;
};

enum TSF_MotionKind : uint8_t {
  smConstant,  // keeps its starting value
  smFollow,    // Low + (High − Low) × driver, plus jitter, kept inside [Low, High]
  smLagged,    // the same over the driver's mean of the last ticks: temperatures, fans
  smLinear,    // Offset + Scale × value of reading Source (an earlier reading)
  smCounter,   // starts at Low and grows by High × driver per second: totals
  smFlag,      // 1 while the driver is at or above Low, else 0: Yes/No readings
};

// How one reading moves (one per reading, in reading order).
struct TSF_Motion {
  TSF_MotionKind Kind = smConstant;
  uint32_t Driver = 0;
  double Low = 0;
  double High = 0;
  double Jitter = 0;  // amplitude of per-tick noise in the reading's unit
  double Step = 0;    // values are rounded to multiples of Step; 0 keeps full precision
  int32_t Source = -1;
  double Offset = 0;
  double Scale = 1;
};

struct TSF_Profile {
  std::string Name;
  std::string Description;
  TQD_CPUINFO CPUInfo;  // what the machine's processor counts are (bounds the core rules)
  TSF_Block Block;      // sensors and readings with their starting values
  std::vector<TSF_Driver> Drivers;
  std::vector<TSF_Motion> Motion;  // parallel to Block.Readings
  uint64_t Samples = 1;            // values averaged into ValueAvg so far
  uint64_t ElapsedMs = 0;          // time advanced since the start poll time
  int64_t StartPollTime = 0;       // Unix seconds of tick 0
};

// The fixed machines: "intel-hybrid", "amd-desktop", "server".
std::vector<std::string> ProfileNames();
// False for an unknown name.
bool MakeProfile(const std::string& AName, TSF_Profile& AProfile);

// The profile of the machine sensorfeed runs on (its default): Quendal bounds
// core numbers by that machine's own processor counts, so only a block built
// from them shows every core there.
inline constexpr const char* kHostProfileName = "host";

// What the host profile is built from, as the system-information port and
// CPUID report them.
struct TSF_HostFigures {
  TQD_CPUINFO CPUInfo;
  std::string Brand;  // the CPUID brand string; empty when the processor has none
  TQD_RAMINFO RAMInfo;
};

// One processor sensor pair per package, its cores and threads as the counts
// give them (counts of 0 count as 1), per-core temperatures, clocks, powers
// and voltages; memory from the RAM figures; the GPU and drives of
// intel-hybrid. The same figures always give the same profile.
void MakeHostProfile(const TSF_HostFigures& AFigures, TSF_Profile& AProfile);
// The driver's value at a tick, 0 to 1.
double DriverValue(const TSF_Profile& AProfile, uint32_t ADriver, int64_t ATick);
// Moves every value one step (deterministic for a given tick), keeps min, max
// and average, and advances the poll time by AIntervalMs. Counters add
// what the interval transferred, so they depend on the ticks before.
void AdvanceProfile(TSF_Profile& AProfile, uint64_t ATick, uint32_t AIntervalMs);
// The lists exactly as a poll of the profile's block would leave them.
void LoadProfileLists(const TSF_Profile& AProfile, TQD_SensorList& ASensors, TQD_ReadingsList& AReadings);
