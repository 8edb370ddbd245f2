// The built-in machine profiles and how their values move; see profiles.h.
//
// Each profile lists its sensors and readings the way HWiNFO names them:
// processor, DTS/enhanced, motherboard, memory, drives, GPU, network. The
// numeric identifiers are the ones the hardware model matches on (processor
// 0xF0000300/0xF0000501, GPU 0xE0002000/0xE0001800, drives 0xF0000101 and
// 0xF0000100); other sensors carry identifiers of their own that no rule
// matches, as a real machine's do.
#include "sim/profiles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "collector/hwinfo_sm2.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
const std::string kCelsius = "\xC2\xB0" "C";  // UTF-8; written to the block as Windows-1252 0xB0

constexpr uint32_t kSensorCPU = 0xF0000300;
constexpr uint32_t kSensorCPUEnhanced = 0xF0000501;
constexpr uint32_t kSensorGPUNvidia = 0xE0002000;
constexpr uint32_t kSensorGPUAmd = 0xE0001800;
constexpr uint32_t kSensorDrive = 0xF0000101;
constexpr uint32_t kSensorSmart = 0xF0000100;
// Sensors no hardware-model rule looks at.
constexpr uint32_t kSensorSystem = 0xF0000000;
constexpr uint32_t kSensorMemoryTimings = 0xF0000600;
constexpr uint32_t kSensorDIMM = 0xF0000800;
constexpr uint32_t kSensorNetwork = 0xF0000A00;
constexpr uint32_t kSensorWHEA = 0xF0000B00;
constexpr uint32_t kSensorBoard = 0xF0007000;
constexpr uint32_t kSensorPSU = 0xF0007100;
constexpr uint32_t kSensorUPS = 0xF0007200;

// Fixed start time (2025-12-01 12:00:00 UTC) so that a profile is the same on
// every run; the publisher overwrites the poll time with the real clock.
constexpr int64_t kStartPollTime = 1764590400;

// --- deterministic noise -------------------------------------------------------

uint64_t Mix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

// [0, 1) from a seed and a tick; the same pair always gives the same number.
double Unit(uint64_t ASeed, int64_t ATick) {
  return static_cast<double>(Mix(Mix(ASeed) ^ static_cast<uint64_t>(ATick)) >> 11) * 0x1p-53;
}
double Signed(uint64_t ASeed, int64_t ATick) { return 2 * Unit(ASeed, ATick) - 1; }

int64_t FloorDiv(int64_t A, int64_t B) { return A / B - ((A % B != 0) && ((A < 0) != (B < 0))); }

double Clamp(double v, double a, double b) {
  const double lo = std::min(a, b), hi = std::max(a, b);
  return std::min(std::max(v, lo), hi);
}

// Driver values are averaged over this many ticks for readings that lag
// behind the load (heat takes a while to build up and to go).
constexpr int kLagTicks = 6;

// --- building a profile --------------------------------------------------------

class TBuilder {
 public:
  TBuilder(TSF_Profile& AProfile, uint64_t ASeed) : FP(AProfile), FSeed(ASeed) {}

  void Sensor(uint32_t AID, uint32_t AInst, const std::string& AName, const std::string& AUser = {}) {
    FP.Block.Sensors.push_back(TSF_Sensor{AID, AInst, AName, AUser});
    FSensor = static_cast<uint32_t>(FP.Block.Sensors.size() - 1);
  }

  uint32_t Driver(double ABase, double ASwing, double APeriod, double ANoise, double ABurst = 0,
                  int32_t AParent = -1, double AWeight = 0) {
    TSF_Driver d;
    d.Base = ABase;
    d.Swing = ASwing;
    d.Period = APeriod;
    d.Noise = ANoise;
    d.Burst = ABurst;
    d.Seed = Mix(FSeed + FP.Drivers.size() * 7919);
    d.Parent = AParent;
    d.Weight = AWeight;
    FP.Drivers.push_back(d);
    return static_cast<uint32_t>(FP.Drivers.size() - 1);
  }

  int Add(uint32_t AType, uint32_t AID, const std::string& ALabel, const std::string& AUnit,
          const TSF_Motion& AMotion, const std::string& AUser = {}) {
    TSF_Reading r;
    r.tReading = AType;
    r.dwSensorIndex = FSensor;
    r.dwReadingID = AID;
    r.szLabelOrig = ALabel;
    r.szLabelUser = AUser;
    r.szUnit = AUnit;
    // Constants and counters start at Low; the rest get their tick-0 value later.
    r.Value = AMotion.Low;
    FP.Block.Readings.push_back(r);
    FP.Motion.push_back(AMotion);
    return static_cast<int>(FP.Block.Readings.size() - 1);
  }

  int Const(uint32_t AType, uint32_t AID, const std::string& ALabel, const std::string& AUnit,
            double AValue, const std::string& AUser = {}) {
    TSF_Motion m;
    m.Kind = smConstant;
    m.Low = m.High = AValue;
    return Add(AType, AID, ALabel, AUnit, m, AUser);
  }
  int Follow(uint32_t AType, uint32_t AID, const std::string& ALabel, const std::string& AUnit,
             uint32_t ADriver, double ALow, double AHigh, double AJitter, double AStep,
             const std::string& AUser = {}) {
    return Add(AType, AID, ALabel, AUnit, Moving(smFollow, ADriver, ALow, AHigh, AJitter, AStep), AUser);
  }
  int Lagged(uint32_t AType, uint32_t AID, const std::string& ALabel, const std::string& AUnit,
             uint32_t ADriver, double ALow, double AHigh, double AJitter, double AStep,
             const std::string& AUser = {}) {
    return Add(AType, AID, ALabel, AUnit, Moving(smLagged, ADriver, ALow, AHigh, AJitter, AStep), AUser);
  }
  int Linear(uint32_t AType, uint32_t AID, const std::string& ALabel, const std::string& AUnit,
             int ASource, double AOffset, double AScale, double AStep) {
    TSF_Motion m;
    m.Kind = smLinear;
    m.Source = ASource;
    m.Offset = AOffset;
    m.Scale = AScale;
    m.Step = AStep;
    return Add(AType, AID, ALabel, AUnit, m);
  }
  int Counter(uint32_t AType, uint32_t AID, const std::string& ALabel, const std::string& AUnit,
              uint32_t ADriver, double AStart, double APerSecond) {
    return Add(AType, AID, ALabel, AUnit, Moving(smCounter, ADriver, AStart, APerSecond, 0, 0));
  }
  int Flag(uint32_t AID, const std::string& ALabel, uint32_t ADriver, double AThreshold) {
    return Add(SENSOR_TYPE_OTHER, AID, ALabel, "Yes/No", Moving(smFlag, ADriver, AThreshold, 1, 0, 0));
  }

 private:
  static TSF_Motion Moving(TSF_MotionKind AKind, uint32_t ADriver, double ALow, double AHigh,
                           double AJitter, double AStep) {
    TSF_Motion m;
    m.Kind = AKind;
    m.Driver = ADriver;
    m.Low = ALow;
    m.High = AHigh;
    m.Jitter = AJitter;
    m.Step = AStep;
    return m;
  }

  TSF_Profile& FP;
  uint64_t FSeed;
  uint32_t FSensor = 0;
};

// --- processors ----------------------------------------------------------------

struct TCoreSpec {
  std::string Name;  // "P-core 0", "E-core 8", "Core 5"
  int Threads = 2;
  double ClockLow = 800, ClockHigh = 4700;
  double VIDLow = 0.75, VIDHigh = 1.30;
  double TempLow = 32, TempHigh = 85;
  double PowerLow = 0.3, PowerHigh = 15;
  std::string TempSuffix;  // " (CCD1)" on AMD's per-core temperatures
  double Share = 0.25;     // the core's own mean load
};

enum TVendor { vIntel, vAmd };

struct TCPUSpec {
  uint32_t Instance = 0;
  std::string Model;  // "Intel Core i7-12700K"
  TVendor Vendor = vIntel;
  std::vector<TCoreSpec> Cores;
  double PackagePowerLow = 10, PackagePowerHigh = 150;
  double PackageTempLow = 35, PackageTempHigh = 88;
  double BusClock = 100;
  double UncoreLow = 800, UncoreHigh = 3600;
  bool EffectiveClocks = true;  // per-thread effective clocks
  bool Residency = false;       // per-core C0 and C6 residency
  bool PerCoreFlags = false;    // per-core throttling / critical / power-limit flags
  bool DistanceToTjMax = false;
  int CCDs = 0;
};

// Both sensors of one package: 0xF0000300 (clocks, VIDs, usages) and
// 0xF0000501 (temperatures, powers, limits). Returns the package's driver.
uint32_t AddProcessor(TBuilder& b, const TCPUSpec& s, uint32_t ADriver) {
  const uint32_t pkg = ADriver;
  std::vector<uint32_t> core;
  for (const TCoreSpec& c : s.Cores) core.push_back(b.Driver(c.Share, 0.15, 23 + core.size() % 7, 0.12, 0.04, static_cast<int32_t>(pkg), 0.55));

  const std::string prefix = "CPU [#" + std::to_string(s.Instance) + "]: " + s.Model;
  b.Sensor(kSensorCPU, s.Instance, prefix);
  const size_t n = s.Cores.size();
  for (size_t c = 0; c < n; ++c)
    b.Follow(SENSOR_TYPE_VOLT, 0x02000000 + static_cast<uint32_t>(c), s.Cores[c].Name + " VID", "V",
             core[c], s.Cores[c].VIDLow, s.Cores[c].VIDHigh, 0.006, 0.001);
  std::vector<int> clocks;
  for (size_t c = 0; c < n; ++c) {
    const std::string label = s.Cores[c].Name + (s.Vendor == vAmd ? " Clock (perf #" + std::to_string(c % 4 + 1) + "/" + std::to_string(c % 8 + 1) + ")" : " Clock");
    clocks.push_back(b.Follow(SENSOR_TYPE_CLOCK, 0x06000000 + static_cast<uint32_t>(c), label, "MHz", core[c],
                              s.Cores[c].ClockLow, s.Cores[c].ClockHigh, 45, 0.1));
  }
  b.Follow(SENSOR_TYPE_CLOCK, 0x06000800, "Bus Clock", "MHz", pkg, s.BusClock - 0.05, s.BusClock + 0.02, 0.02, 0.001);
  b.Follow(SENSOR_TYPE_CLOCK, 0x06000801, s.Vendor == vAmd ? "Uncore Clock" : "Ring/LLC Clock", "MHz", pkg,
           s.UncoreLow, s.UncoreHigh, 20, 0.1);
  if (s.EffectiveClocks) {
    uint32_t k = 0;
    for (size_t c = 0; c < n; ++c)
      for (int t = 0; t < s.Cores[c].Threads; ++t)
        b.Follow(SENSOR_TYPE_CLOCK, 0x06001000 + k++, s.Cores[c].Name + " T" + std::to_string(t) + " Effective Clock",
                 "MHz", core[c], 5, s.Cores[c].ClockHigh * (t == 0 ? 0.98 : 0.8), 60, 0.1);
  }
  b.Follow(SENSOR_TYPE_CLOCK, 0x06000802, "Average Effective Clock", "MHz", pkg, 30, 4200, 40, 0.1);
  {
    uint32_t k = 0;
    for (size_t c = 0; c < n; ++c)
      for (int t = 0; t < s.Cores[c].Threads; ++t)
        b.Follow(SENSOR_TYPE_USAGE, 0x07000000 + k++, s.Cores[c].Name + " T" + std::to_string(t) + " Usage", "%",
                 core[c], 0, t == 0 ? 100 : 85, 7, 0.1);
  }
  b.Follow(SENSOR_TYPE_USAGE, 0x07000800, "Max CPU/Thread Usage", "%", pkg, 8, 100, 4, 0.1);
  b.Follow(SENSOR_TYPE_USAGE, 0x07000801, "Total CPU Usage", "%", pkg, 0, 100, 1.5, 0.1);
  if (s.Residency) {
    for (size_t c = 0; c < n; ++c)
      b.Follow(SENSOR_TYPE_USAGE, 0x07001000 + static_cast<uint32_t>(c), s.Cores[c].Name + " C0 Residency", "%",
               core[c], 0.5, 100, 3, 0.1);
    for (size_t c = 0; c < n; ++c)
      b.Follow(SENSOR_TYPE_USAGE, 0x07001100 + static_cast<uint32_t>(c), s.Cores[c].Name + " C6 Residency", "%",
               core[c], 97, 0, 3, 0.1);
  }
  for (size_t c = 0; c < n; ++c)
    b.Linear(SENSOR_TYPE_OTHER, 0x08000000 + static_cast<uint32_t>(c), s.Cores[c].Name + " Ratio", "x",
             clocks[c], 0, 1 / s.BusClock, 1);

  b.Sensor(kSensorCPUEnhanced, s.Instance, prefix + (s.Vendor == vAmd ? ": Enhanced" : ": DTS & Enhanced"));
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000000, s.Vendor == vAmd ? "CPU (Tctl/Tdie)" : "CPU Package", kCelsius, pkg,
           s.PackageTempLow, s.PackageTempHigh, 0.8, s.Vendor == vAmd ? 0.1 : 1);
  for (size_t c = 0; c < n; ++c)
    b.Lagged(SENSOR_TYPE_TEMP, 0x01000080 + static_cast<uint32_t>(c), s.Cores[c].Name + s.Cores[c].TempSuffix,
             kCelsius, core[c], s.Cores[c].TempLow, s.Cores[c].TempHigh, 1.2, s.Vendor == vAmd ? 0.1 : 1);
  if (s.Vendor == vAmd) {
    b.Lagged(SENSOR_TYPE_TEMP, 0x01000001, "CPU Die (average)", kCelsius, pkg, s.PackageTempLow - 3, s.PackageTempHigh - 6, 0.5, 0.1);
    for (int d = 0; d < s.CCDs; ++d)
      b.Lagged(SENSOR_TYPE_TEMP, 0x01000010 + static_cast<uint32_t>(d), "CPU CCD" + std::to_string(d + 1) + " (Tdie)",
               kCelsius, pkg, s.PackageTempLow - 2 + d, s.PackageTempHigh - 4 + d, 0.8, 0.1);
  } else {
    b.Lagged(SENSOR_TYPE_TEMP, 0x01000001, "Core Max", kCelsius, pkg, s.PackageTempLow + 2, s.PackageTempHigh + 2, 1, 1);
    b.Lagged(SENSOR_TYPE_TEMP, 0x01000002, "CPU IA Cores", kCelsius, pkg, s.PackageTempLow, s.PackageTempHigh, 1, 1);
  }
  if (s.DistanceToTjMax)
    for (size_t c = 0; c < n; ++c)
      b.Lagged(SENSOR_TYPE_TEMP, 0x01000200 + static_cast<uint32_t>(c), s.Cores[c].Name + " Distance to TjMAX",
               kCelsius, core[c], 100 - s.Cores[c].TempLow, 100 - s.Cores[c].TempHigh, 1.2, 1);
  b.Follow(SENSOR_TYPE_POWER, 0x05000000, "CPU Package Power", "W", pkg, s.PackagePowerLow, s.PackagePowerHigh, 2, 0.001);
  for (size_t c = 0; c < n; ++c)
    b.Follow(SENSOR_TYPE_POWER, 0x05000001 + static_cast<uint32_t>(c), s.Cores[c].Name + " Power", "W", core[c],
             s.Cores[c].PowerLow, s.Cores[c].PowerHigh, 0.15, 0.001);
  if (s.Vendor == vAmd) {
    b.Follow(SENSOR_TYPE_VOLT, 0x02000100, "CPU Core Voltage (SVI2 TFN)", "V", pkg, 0.90, 1.40, 0.01, 0.001);
    b.Follow(SENSOR_TYPE_VOLT, 0x02000101, "SoC Voltage (SVI2 TFN)", "V", pkg, 1.081, 1.094, 0.004, 0.001);
    b.Follow(SENSOR_TYPE_CURRENT, 0x04000000, "CPU Core Current (SVI2 TFN)", "A", pkg, 4, 95, 1.5, 0.001);
    b.Follow(SENSOR_TYPE_CURRENT, 0x04000001, "SoC Current (SVI2 TFN)", "A", pkg, 8, 13, 0.5, 0.001);
    b.Follow(SENSOR_TYPE_POWER, 0x05000040, "CPU Core Power (SVI2 TFN)", "W", pkg, 6, 125, 1.5, 0.001);
    b.Follow(SENSOR_TYPE_POWER, 0x05000041, "CPU SoC Power (SVI2 TFN)", "W", pkg, 9, 14, 0.4, 0.001);
    b.Follow(SENSOR_TYPE_POWER, 0x05000042, "CPU PPT", "W", pkg, s.PackagePowerLow + 10, s.PackagePowerHigh + 12, 2, 0.001);
    b.Follow(SENSOR_TYPE_USAGE, 0x07000100, "CPU PPT Limit", "%", pkg, 15, 98, 1.5, 0.1);
    b.Follow(SENSOR_TYPE_USAGE, 0x07000101, "CPU TDC Limit", "%", pkg, 5, 90, 1.5, 0.1);
    b.Follow(SENSOR_TYPE_USAGE, 0x07000102, "CPU EDC Limit", "%", pkg, 20, 100, 1.5, 0.1);
    b.Const(SENSOR_TYPE_CLOCK, 0x06000100, "Infinity Fabric Clock (FCLK)", "MHz", 1800);
    b.Const(SENSOR_TYPE_CLOCK, 0x06000101, "Memory Controller Clock (UCLK)", "MHz", 1800);
    b.Flag(0x08000800, "Thermal Throttling (HTC)", pkg, 0.97);
    b.Flag(0x08000801, "Thermal Throttling (PROCHOT CPU)", pkg, 2);
  } else {
    b.Follow(SENSOR_TYPE_POWER, 0x05000040, "IA Cores Power", "W", pkg, s.PackagePowerLow * 0.5, s.PackagePowerHigh * 0.9, 1.5, 0.001);
    b.Follow(SENSOR_TYPE_POWER, 0x05000041, "System Agent Power", "W", pkg, 2.5, 6.5, 0.3, 0.001);
    b.Follow(SENSOR_TYPE_POWER, 0x05000042, "Rest-of-Chip Power", "W", pkg, 0.4, 1.2, 0.1, 0.001);
    b.Const(SENSOR_TYPE_POWER, 0x05000043, "PL1 Power Limit", "W", s.PackagePowerHigh * 0.66);
    b.Const(SENSOR_TYPE_POWER, 0x05000044, "PL2 Power Limit", "W", s.PackagePowerHigh);
    b.Follow(SENSOR_TYPE_VOLT, 0x02000100, "Vcore", "V", pkg, 0.72, 1.34, 0.008, 0.001);
    b.Flag(0x08000800, "Package/Ring Thermal Throttling", pkg, 0.97);
    b.Flag(0x08000801, "Package/Ring Critical Temperature", pkg, 2);
    b.Flag(0x08000802, "Package/Ring Power Limit Exceeded", pkg, 0.9);
  }
  if (s.PerCoreFlags) {
    for (size_t c = 0; c < n; ++c)
      b.Flag(0x08001000 + static_cast<uint32_t>(c), s.Cores[c].Name + " Thermal Throttling", core[c], 0.98);
    for (size_t c = 0; c < n; ++c)
      b.Flag(0x08002000 + static_cast<uint32_t>(c), s.Cores[c].Name + " Critical Temperature", core[c], 2);
    for (size_t c = 0; c < n; ++c)
      b.Flag(0x08003000 + static_cast<uint32_t>(c), s.Cores[c].Name + " Power Limit Exceeded", core[c], 0.93);
  }
  return pkg;
}

// --- other parts ---------------------------------------------------------------

struct TDriveSpec {
  uint32_t Instance = 0;
  std::string Model;   // "Samsung SSD 980 PRO 1TB"
  std::string Serial;
  std::string UserName;  // the name the user gave the drive in HWiNFO; empty: none
  double ReadMax = 3500, WriteMax = 3000;  // MB/s
  double TempLow = 34, TempHigh = 55;
  double Life = 100;
  double WrittenGB = 10000, ReadGB = 12000;
  int Temperatures = 2;       // 2: both 0x01000000 and 0x01000001; 1: only 0x01000001
  bool SecondTempFirst = false;  // 0x01000001 listed before 0x01000000
};

// S.M.A.R.T. sensor (0xF0000100) and activity sensor (0xF0000101) of one drive.
void AddDrive(TBuilder& b, const TDriveSpec& d) {
  // Drives idle most of the time and now and then run flat out for a few seconds.
  const uint32_t read = b.Driver(0.01, 0.01, 17, 0.01, 0.06);
  const uint32_t write = b.Driver(0.015, 0.015, 29, 0.015, 0.04);
  const std::string name = d.Model + " (" + d.Serial + ")";
  const std::string user = d.UserName.empty() ? std::string() : d.UserName;
  b.Sensor(kSensorSmart, d.Instance, "S.M.A.R.T.: " + name, user.empty() ? std::string() : "S.M.A.R.T.: " + user);
  const auto first = [&] { b.Lagged(SENSOR_TYPE_TEMP, 0x01000000, "Drive Temperature", kCelsius, write, d.TempLow, d.TempHigh, 0.6, 1); };
  const auto second = [&] {
    b.Lagged(SENSOR_TYPE_TEMP, 0x01000001, d.Temperatures == 1 ? "Drive Temperature" : "Drive Temperature 2", kCelsius,
             write, d.TempLow + 6, d.TempHigh + 12, 0.6, 1);
  };
  if (d.Temperatures == 1) second();
  else if (d.SecondTempFirst) { second(); first(); }
  else { first(); second(); }
  b.Const(SENSOR_TYPE_OTHER, 0x08000000, "Drive Remaining Life", "%", d.Life);
  b.Const(SENSOR_TYPE_OTHER, 0x08000001, "Drive Failure", "Yes/No", 0);
  b.Const(SENSOR_TYPE_OTHER, 0x08000002, "Drive Warning", "Yes/No", 0);
  b.Counter(SENSOR_TYPE_OTHER, 0x08000003, "Total Host Writes", "GB", write, d.WrittenGB, d.WriteMax / 1024);
  b.Counter(SENSOR_TYPE_OTHER, 0x08000004, "Total Host Reads", "GB", read, d.ReadGB, d.ReadMax / 1024);

  b.Sensor(kSensorDrive, d.Instance, "Drive: " + name, user);
  b.Follow(SENSOR_TYPE_USAGE, 0x07000000, "Read Activity", "%", read, 0, 100, 0.5, 0.1);
  b.Follow(SENSOR_TYPE_USAGE, 0x07000001, "Write Activity", "%", write, 0, 100, 0.5, 0.1);
  b.Follow(SENSOR_TYPE_USAGE, 0x07000002, "Total Activity", "%", write, 0, 100, 2, 0.1);
  b.Follow(SENSOR_TYPE_OTHER, 0x08000000, "Read Rate", "MB/s", read, 0, d.ReadMax, 0.5, 0.001);
  b.Follow(SENSOR_TYPE_OTHER, 0x08000001, "Write Rate", "MB/s", write, 0, d.WriteMax, 0.5, 0.001);
  b.Counter(SENSOR_TYPE_OTHER, 0x08000002, "Read Total", "MB", read, d.ReadGB * 1024 * 0.02, d.ReadMax);
  b.Counter(SENSOR_TYPE_OTHER, 0x08000003, "Write Total", "MB", write, d.WrittenGB * 1024 * 0.02, d.WriteMax);
}

void AddNetwork(TBuilder& b, uint32_t AInst, const std::string& AName, double ADownKBs, double AUpKBs, double AGbps) {
  const uint32_t down = b.Driver(0.08, 0.06, 41, 0.05, 0.05);
  const uint32_t up = b.Driver(0.05, 0.04, 37, 0.04, 0.03);
  b.Sensor(kSensorNetwork, AInst, "Network: " + AName);
  b.Counter(SENSOR_TYPE_OTHER, 0x08000000, "Total DL", "MB", down, 18234, ADownKBs / 1024);
  b.Counter(SENSOR_TYPE_OTHER, 0x08000001, "Total UP", "MB", up, 2210, AUpKBs / 1024);
  b.Follow(SENSOR_TYPE_OTHER, 0x08000002, "Current DL rate", "KB/s", down, 0, ADownKBs, 0.3, 0.001);
  b.Follow(SENSOR_TYPE_OTHER, 0x08000003, "Current UP rate", "KB/s", up, 0, AUpKBs, 0.3, 0.001);
  if (AGbps > 0) b.Const(SENSOR_TYPE_OTHER, 0x08000004, "Link Speed", "Gbps", AGbps);
}

void AddSystem(TBuilder& b, const std::string& AName, double ATotalMB, uint32_t ADriver) {
  b.Sensor(kSensorSystem, 0, "System: " + AName);
  const int used = b.Follow(SENSOR_TYPE_OTHER, 0x08000000, "Physical Memory Used", "MB", ADriver, ATotalMB * 0.28,
                            ATotalMB * 0.62, ATotalMB * 0.01, 1);
  b.Linear(SENSOR_TYPE_OTHER, 0x08000001, "Physical Memory Available", "MB", used, ATotalMB, -1, 1);
  b.Linear(SENSOR_TYPE_USAGE, 0x07000000, "Physical Memory Load", "%", used, 0, 100 / ATotalMB, 0.1);
  b.Linear(SENSOR_TYPE_OTHER, 0x08000002, "Virtual Memory Committed", "MB", used, ATotalMB * 0.12, 1.3, 1);
  b.Follow(SENSOR_TYPE_USAGE, 0x07000001, "Page File Usage", "%", ADriver, 0.4, 6, 0.2, 0.1);
}

void AddMemoryTimings(TBuilder& b, double AClock, double ACL, double ARCD, double ARP, double ARAS, double ARFC, double ACR) {
  b.Sensor(kSensorMemoryTimings, 0, "Memory Timings");
  b.Const(SENSOR_TYPE_CLOCK, 0x06000000, "Memory Clock", "MHz", AClock);
  b.Const(SENSOR_TYPE_OTHER, 0x08000000, "Memory Clock Ratio", "x", AClock / 100);
  b.Const(SENSOR_TYPE_OTHER, 0x08000001, "Tcas", "T", ACL);
  b.Const(SENSOR_TYPE_OTHER, 0x08000002, "Trcd", "T", ARCD);
  b.Const(SENSOR_TYPE_OTHER, 0x08000003, "Trp", "T", ARP);
  b.Const(SENSOR_TYPE_OTHER, 0x08000004, "Tras", "T", ARAS);
  b.Const(SENSOR_TYPE_OTHER, 0x08000005, "Trc", "T", ARAS + ARP);
  b.Const(SENSOR_TYPE_OTHER, 0x08000006, "Trfc", "T", ARFC);
  b.Const(SENSOR_TYPE_OTHER, 0x08000007, "Command Rate", "T", ACR);
}

void AddWHEA(TBuilder& b) {
  b.Sensor(kSensorWHEA, 0, "Windows Hardware Errors (WHEA)");
  b.Const(SENSOR_TYPE_OTHER, 0x08000000, "Total Errors", "", 0);  // HWiNFO writes no unit for counts
}

// The two NVMe drives of intel-hybrid (the host profile has them too).
void AddDesktopDrives(TBuilder& b) {
  AddDrive(b, TDriveSpec{0, "Samsung SSD 980 PRO 1TB", "S5GXNF0R312345A", "System", 7000, 5000, 36, 56, 98, 18234, 21410, 2, false});
  AddDrive(b, TDriveSpec{1, "WD_BLACK SN770 2TB", "22361K801234", "", 5150, 4850, 33, 51, 100, 4120, 9388, 2, true});
}

// intel-hybrid's graphics card (the host profile has it too).
void AddGeForceRTX3070(TBuilder& b) {
  const uint32_t gpu = b.Driver(0.30, 0.25, 61, 0.08, 0.04);
  const uint32_t video = b.Driver(0.05, 0.05, 53, 0.03, 0.05);
  b.Sensor(kSensorGPUNvidia, 0, "GPU [#0]: NVIDIA GeForce RTX 3070: ");
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000000, "GPU Temperature", kCelsius, gpu, 38, 74, 0.5, 1);
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000004, "GPU Memory Junction Temperature", kCelsius, gpu, 44, 86, 0.5, 1);
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000005, "GPU Hot Spot Temperature", kCelsius, gpu, 47, 87, 0.6, 0.1);
  b.Follow(SENSOR_TYPE_VOLT, 0x02000000, "GPU Core Voltage", "V", gpu, 0.681, 1.081, 0.006, 0.001);
  b.Lagged(SENSOR_TYPE_FAN, 0x03000000, "GPU Fan1", "RPM", gpu, 1000, 2150, 10, 1);
  b.Lagged(SENSOR_TYPE_FAN, 0x03000001, "GPU Fan2", "RPM", gpu, 1010, 2160, 10, 1);
  b.Lagged(SENSOR_TYPE_FAN, 0x03000002, "GPU Fan3", "RPM", gpu, 990, 2140, 10, 1);
  b.Follow(SENSOR_TYPE_POWER, 0x05000000, "GPU Power", "W", gpu, 18, 220, 3, 0.001);
  b.Follow(SENSOR_TYPE_CLOCK, 0x06000000, "GPU Clock", "MHz", gpu, 210, 1950, 15, 0.1);
  b.Follow(SENSOR_TYPE_CLOCK, 0x06000004, "GPU Memory Clock", "MHz", gpu, 405, 1750, 0, 0.1);
  b.Follow(SENSOR_TYPE_CLOCK, 0x06000005, "GPU Video Clock", "MHz", video, 555, 1770, 10, 0.1);
  b.Follow(SENSOR_TYPE_USAGE, 0x07000000, "GPU Core Load", "%", gpu, 0, 100, 2, 1);
  b.Follow(SENSOR_TYPE_USAGE, 0x07000001, "GPU Memory Controller Load", "%", gpu, 1, 62, 2, 1);
  b.Follow(SENSOR_TYPE_USAGE, 0x07000002, "GPU Video Engine Load", "%", video, 0, 40, 1, 1);
  b.Follow(SENSOR_TYPE_USAGE, 0x07000003, "GPU Bus Load", "%", gpu, 0, 18, 1, 1);
  b.Follow(SENSOR_TYPE_USAGE, 0x07000004, "GPU D3D Usage", "%", gpu, 0, 100, 2, 0.1);
  // Allocated MB and usage % describe the same memory: allocated / usage × 100
  // is the card's 8192 MB, which is how the GPU monitor learns its size.
  const int allocated = b.Follow(SENSOR_TYPE_OTHER, 0x080000FC, "GPU Memory Allocated", "MB", gpu, 900, 6600, 40, 1);
  b.Linear(SENSOR_TYPE_USAGE, 0x07000008, "GPU Memory Usage", "%", allocated, 0, 100.0 / 8192, 0);
  b.Linear(SENSOR_TYPE_OTHER, 0x080000FD, "GPU Memory Available", "MB", allocated, 8192, -1, 1);
  b.Follow(SENSOR_TYPE_OTHER, 0x080000FE, "GPU D3D Memory Dedicated", "MB", gpu, 700, 6300, 40, 1);
  b.Const(SENSOR_TYPE_OTHER, 0x08000100, "PCIe Link Speed", "GT/s", 16.0);
  b.Flag(0x08000200, "Performance Limit - Power", gpu, 0.92);
  b.Flag(0x08000201, "Performance Limit - Thermal", gpu, 2);
  b.Flag(0x08000202, "Performance Limit - Utilization", gpu, -1);
}

// --- the profiles --------------------------------------------------------------

void MakeIntelHybrid(TSF_Profile& p) {
  p.Name = "intel-hybrid";
  p.Description = "desktop: Intel Core i7-12700K (8 P-cores, 4 E-cores), GeForce RTX 3070 8 GB, two NVMe drives";
  p.CPUInfo = TQD_CPUINFO{1, 1, 12, 20};
  TBuilder b(p, 0x12700);
  const uint32_t pkg = b.Driver(0.22, 0.16, 47, 0.07, 0.05);
  const uint32_t sys = b.Driver(0.45, 0.15, 97, 0.02);

  AddSystem(b, "ASUS ROG STRIX Z690-A GAMING WIFI D4", 32540, sys);

  TCPUSpec cpu;
  cpu.Model = "Intel Core i7-12700K";
  cpu.PackagePowerLow = 12;
  cpu.PackagePowerHigh = 190;
  cpu.PackageTempLow = 33;
  cpu.PackageTempHigh = 88;
  cpu.PerCoreFlags = false;
  for (int c = 0; c < 8; ++c) {
    TCoreSpec k;
    k.Name = "P-core " + std::to_string(c);
    k.Threads = 2;
    k.ClockLow = 800;
    k.ClockHigh = c < 2 ? 5000 : 4900;
    k.TempLow = 31 + c % 3;
    k.TempHigh = 84 + c % 4;
    k.PowerLow = 0.4;
    k.PowerHigh = 19;
    k.Share = 0.22 + 0.02 * (c % 3);
    cpu.Cores.push_back(k);
  }
  for (int c = 8; c < 12; ++c) {
    TCoreSpec k;
    k.Name = "E-core " + std::to_string(c);
    k.Threads = 1;
    k.ClockLow = 800;
    k.ClockHigh = 3800;
    k.VIDLow = 0.70;
    k.VIDHigh = 1.20;
    k.TempLow = 30;
    k.TempHigh = 72;
    k.PowerLow = 0.2;
    k.PowerHigh = 5.5;
    k.Share = 0.18;
    cpu.Cores.push_back(k);
  }
  AddProcessor(b, cpu, pkg);

  AddMemoryTimings(b, 1800, 16, 18, 18, 38, 630, 2);

  b.Sensor(kSensorBoard, 0, "ASUS ROG STRIX Z690-A GAMING WIFI D4 (Nuvoton NCT6798D)");
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000000, "Motherboard", kCelsius, pkg, 29, 36, 0.3, 1);
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000001, "CPU", kCelsius, pkg, 32, 84, 1, 1);
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000002, "CPU (PECI)", kCelsius, pkg, 33, 88, 1, 1);
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000003, "PCH", kCelsius, sys, 44, 52, 0.5, 1);
  b.Follow(SENSOR_TYPE_VOLT, 0x02000000, "Vcore", "V", pkg, 0.728, 1.344, 0.008, 0.001);
  b.Follow(SENSOR_TYPE_VOLT, 0x02000001, "+5V", "V", pkg, 5.04, 4.98, 0.01, 0.001);
  b.Follow(SENSOR_TYPE_VOLT, 0x02000002, "AVSB", "V", pkg, 3.392, 3.376, 0.008, 0.001);
  b.Follow(SENSOR_TYPE_VOLT, 0x02000003, "3VCC", "V", pkg, 3.376, 3.360, 0.008, 0.001);
  b.Follow(SENSOR_TYPE_VOLT, 0x02000004, "+12V", "V", pkg, 12.192, 12.000, 0.02, 0.001);
  b.Const(SENSOR_TYPE_VOLT, 0x02000005, "DRAM", "V", 1.352);
  b.Const(SENSOR_TYPE_VOLT, 0x02000006, "VBAT", "V", 3.168);
  // The first fan whose label names the CPU is the processor's fan.
  b.Lagged(SENSOR_TYPE_FAN, 0x03000000, "CPU", "RPM", pkg, 640, 1850, 12, 1);
  b.Lagged(SENSOR_TYPE_FAN, 0x03000001, "CPU_OPT", "RPM", pkg, 610, 1800, 12, 1);
  b.Lagged(SENSOR_TYPE_FAN, 0x03000002, "Chassis1", "RPM", pkg, 720, 1150, 8, 1, "Front Intake");
  b.Lagged(SENSOR_TYPE_FAN, 0x03000003, "Chassis2", "RPM", pkg, 700, 1120, 8, 1, "Rear Exhaust");
  b.Follow(SENSOR_TYPE_FAN, 0x03000004, "AIO Pump", "RPM", sys, 2760, 2840, 15, 1);

  AddDesktopDrives(b);
  AddGeForceRTX3070(b);

  AddNetwork(b, 0, "Intel Ethernet Controller I225-V", 11800, 2400, 0);
  AddWHEA(b);
}

void MakeAmdDesktop(TSF_Profile& p) {
  p.Name = "amd-desktop";
  p.Description = "desktop: AMD Ryzen 9 5950X (16 cores on two CCDs), Radeon RX 6800 XT, one NVMe drive; long elements";
  p.CPUInfo = TQD_CPUINFO{2, 1, 16, 32};
  // A newer HWiNFO writes longer elements than the fields that are read.
  p.Block.SensorElementSize = 392;
  p.Block.ReadingElementSize = 460;
  TBuilder b(p, 0x5950);
  const uint32_t pkg = b.Driver(0.20, 0.15, 53, 0.07, 0.05);
  const uint32_t sys = b.Driver(0.40, 0.12, 89, 0.02);

  AddSystem(b, "Micro-Star International Co., Ltd. MAG X570 TOMAHAWK WIFI (MS-7C84)", 65452, sys);
  TCPUSpec cpu;
  cpu.Model = "AMD Ryzen 9 5950X";
  cpu.Vendor = vAmd;
  cpu.CCDs = 2;
  cpu.PackagePowerLow = 28;
  cpu.PackagePowerHigh = 142;
  cpu.PackageTempLow = 38;
  cpu.PackageTempHigh = 90;
  cpu.UncoreLow = 1800;
  cpu.UncoreHigh = 1800.2;
  cpu.EffectiveClocks = true;
  for (int c = 0; c < 16; ++c) {
    TCoreSpec k;
    k.Name = "Core " + std::to_string(c);
    k.Threads = 2;
    k.ClockLow = 2800;
    k.ClockHigh = c < 8 ? 5050 : 4900;
    k.VIDLow = 0.95;
    k.VIDHigh = 1.475;
    k.TempLow = 36 + (c >= 8 ? 2 : 0);
    k.TempHigh = 82 + c % 5;
    k.PowerLow = 0.5;
    k.PowerHigh = 11;
    k.TempSuffix = c < 8 ? " (CCD1)" : " (CCD2)";
    k.Share = c < 8 ? 0.25 : 0.16;
    cpu.Cores.push_back(k);
  }
  AddProcessor(b, cpu, pkg);
  AddMemoryTimings(b, 1800, 16, 19, 19, 39, 630, 1);

  b.Sensor(kSensorBoard, 0, "MSI MAG X570 TOMAHAWK WIFI (MS-7C84) (Nuvoton NCT6797D)");
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000000, "System", kCelsius, pkg, 31, 38, 0.3, 1);
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000001, "CPU", kCelsius, pkg, 37, 88, 1, 1);
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000002, "Chipset", kCelsius, sys, 55, 63, 0.5, 1);
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000003, "MOS", kCelsius, pkg, 38, 61, 0.5, 1);
  b.Follow(SENSOR_TYPE_VOLT, 0x02000000, "Vcore", "V", pkg, 0.95, 1.45, 0.01, 0.001);
  b.Follow(SENSOR_TYPE_VOLT, 0x02000001, "+5V", "V", pkg, 5.02, 4.98, 0.01, 0.001);
  b.Follow(SENSOR_TYPE_VOLT, 0x02000002, "+12V", "V", pkg, 12.1, 11.95, 0.02, 0.001);
  b.Const(SENSOR_TYPE_VOLT, 0x02000003, "DRAM", "V", 1.36);
  b.Lagged(SENSOR_TYPE_FAN, 0x03000000, "CPU Fan", "RPM", pkg, 780, 2050, 12, 1);
  b.Lagged(SENSOR_TYPE_FAN, 0x03000001, "Pump Fan", "RPM", sys, 2500, 2600, 10, 1);
  b.Lagged(SENSOR_TYPE_FAN, 0x03000002, "System Fan 1", "RPM", pkg, 600, 1100, 8, 1);
  b.Lagged(SENSOR_TYPE_FAN, 0x03000003, "System Fan 2", "RPM", pkg, 610, 1110, 8, 1);

  AddDrive(b, TDriveSpec{0, "Samsung SSD 970 EVO Plus 1TB", "S4EWNX0R654321B", "", 3500, 3300, 35, 60, 94, 41233, 52990, 2, false});

  const uint32_t gpu = b.Driver(0.25, 0.25, 67, 0.08, 0.05);
  const uint32_t video = b.Driver(0.04, 0.04, 51, 0.03, 0.05);
  b.Sensor(kSensorGPUAmd, 0, "GPU [#0]: AMD Radeon RX 6800 XT: ");
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000000, "GPU Temperature", kCelsius, gpu, 40, 78, 0.5, 1);
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000004, "GPU Memory Temperature", kCelsius, gpu, 46, 84, 0.5, 1);
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000005, "GPU Hot Spot Temperature", kCelsius, gpu, 43, 98, 0.7, 1);
  b.Follow(SENSOR_TYPE_VOLT, 0x02000000, "GPU Core Voltage (VDDCR_GFX)", "V", gpu, 0.75, 1.15, 0.006, 0.001);
  b.Follow(SENSOR_TYPE_VOLT, 0x02000001, "GPU Memory Voltage (VDDCI_MEM)", "V", gpu, 0.85, 0.85, 0, 0.001);
  b.Lagged(SENSOR_TYPE_FAN, 0x03000000, "GPU Fan", "RPM", gpu, 0, 1750, 10, 1);
  // On this layout 0x05000000 is the core rail only; the card's power is 0x05000008.
  b.Follow(SENSOR_TYPE_POWER, 0x05000000, "GPU Core Power (VDDCR_GFX)", "W", gpu, 5, 215, 3, 0.001);
  b.Follow(SENSOR_TYPE_POWER, 0x05000008, "GPU ASIC Power", "W", gpu, 8, 255, 3, 0.001);
  b.Follow(SENSOR_TYPE_CLOCK, 0x06000000, "GPU Clock", "MHz", gpu, 0, 2350, 20, 0.1);
  b.Follow(SENSOR_TYPE_CLOCK, 0x06000004, "GPU Memory Clock", "MHz", gpu, 96, 1990, 0, 0.1);
  b.Follow(SENSOR_TYPE_CLOCK, 0x06000005, "GPU Video Clock", "MHz", video, 0, 1250, 5, 0.1);
  b.Follow(SENSOR_TYPE_USAGE, 0x07000000, "GPU Utilization", "%", gpu, 0, 100, 2, 1);
  b.Follow(SENSOR_TYPE_USAGE, 0x07000001, "GPU Memory Controller Utilization", "%", gpu, 0, 70, 2, 1);
  b.Follow(SENSOR_TYPE_USAGE, 0x07000002, "GPU Video Engine Load", "%", video, 0, 35, 1, 1);
  b.Follow(SENSOR_TYPE_USAGE, 0x07000003, "GPU D3D Usage", "%", gpu, 0, 100, 2, 0.1);
  b.Follow(SENSOR_TYPE_OTHER, 0x08000004, "GPU D3D Memory Dedicated", "MB", gpu, 600, 12800, 50, 1);
  b.Follow(SENSOR_TYPE_OTHER, 0x08000005, "GPU D3D Memory Dynamic", "MB", gpu, 120, 480, 10, 1);
  b.Const(SENSOR_TYPE_OTHER, 0x08000100, "PCIe Link Speed", "GT/s", 16.0);

  AddNetwork(b, 0, "Realtek Gaming 2.5GbE Family Controller", 24000, 3000, 0);
  AddWHEA(b);
}

void MakeServer(TSF_Profile& p) {
  p.Name = "server";
  p.Description = "server: two Intel Xeon Platinum 8480+ (56 cores each), no GPU, four NVMe drives, BMC, PSUs, UPS";
  p.CPUInfo = TQD_CPUINFO{1, 2, 112, 224};
  TBuilder b(p, 0x8480);
  const uint32_t sys = b.Driver(0.55, 0.10, 131, 0.02);
  AddSystem(b, "Supermicro SYS-221H-TNR", 1047552, sys);

  std::vector<uint32_t> pkgs;
  for (uint32_t inst = 0; inst < 2; ++inst) {
    const uint32_t pkg = b.Driver(inst == 0 ? 0.45 : 0.35, 0.2, 71 + 10 * inst, 0.06, 0.03);
    pkgs.push_back(pkg);
    TCPUSpec cpu;
    cpu.Instance = inst;
    cpu.Model = "Intel Xeon Platinum 8480+";
    cpu.PackagePowerLow = 95;
    cpu.PackagePowerHigh = 350;
    cpu.PackageTempLow = 36;
    cpu.PackageTempHigh = 79;
    cpu.UncoreLow = 800;
    cpu.UncoreHigh = 2500;
    cpu.Residency = true;
    cpu.PerCoreFlags = true;
    cpu.DistanceToTjMax = true;
    for (int c = 0; c < 56; ++c) {
      TCoreSpec k;
      k.Name = "Core " + std::to_string(c);
      k.Threads = 2;
      k.ClockLow = 800;
      k.ClockHigh = c % 8 == 0 ? 3800 : 3000;
      k.VIDLow = 0.70;
      k.VIDHigh = 1.05;
      k.TempLow = 35 + c % 4;
      k.TempHigh = 74 + c % 6;
      k.PowerLow = 0.6;
      k.PowerHigh = 5.8;
      k.Share = 0.3 + 0.01 * (c % 9);
      cpu.Cores.push_back(k);
    }
    AddProcessor(b, cpu, pkg);
  }

  AddMemoryTimings(b, 2400, 40, 39, 39, 77, 708, 2);
  // Eight DDR5 RDIMMs per socket; each reports its SPD hub and PMIC.
  for (uint32_t d = 0; d < 16; ++d) {
    const uint32_t pkg = pkgs[d / 8];
    const std::string slot = "P" + std::to_string(d / 8 + 1) + "-DIMM" + static_cast<char>('A' + d % 8) + "1";
    b.Sensor(kSensorDIMM, d, "DDR5 DIMM [#" + std::to_string(d) + "] (BANK " + std::to_string(d) + "/" + slot + ")");
    b.Lagged(SENSOR_TYPE_TEMP, 0x01000000, "SPD Hub Temperature", kCelsius, pkg, 34 + d % 3, 52 + d % 5, 0.3, 0.5);
    b.Lagged(SENSOR_TYPE_TEMP, 0x01000001, "Thermal Sensor Temperature", kCelsius, pkg, 35 + d % 3, 55 + d % 5, 0.3, 0.5);
    b.Lagged(SENSOR_TYPE_TEMP, 0x01000002, "PMIC Temperature", kCelsius, pkg, 38, 62, 0.3, 1);
    b.Follow(SENSOR_TYPE_VOLT, 0x02000000, "VDD (SWA) Voltage", "V", pkg, 1.110, 1.095, 0.005, 0.005);
    b.Follow(SENSOR_TYPE_VOLT, 0x02000001, "VDDQ (SWC) Voltage", "V", pkg, 1.110, 1.095, 0.005, 0.005);
    b.Const(SENSOR_TYPE_VOLT, 0x02000002, "VPP (SWD) Voltage", "V", 1.800);
    b.Const(SENSOR_TYPE_VOLT, 0x02000003, "1.8V Voltage", "V", 1.800);
    b.Follow(SENSOR_TYPE_VOLT, 0x02000004, "VIN Bulk Voltage", "V", pkg, 12.10, 11.95, 0.02, 0.01);
  }

  b.Sensor(kSensorBoard, 0, "Supermicro X13DEM (AST2600 BMC)");
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000000, "CPU1 Temp", kCelsius, pkgs[0], 36, 79, 1, 1);
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000001, "CPU2 Temp", kCelsius, pkgs[1], 36, 79, 1, 1);
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000002, "PCH Temp", kCelsius, sys, 48, 56, 0.5, 1);
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000003, "System Temp", kCelsius, sys, 27, 33, 0.3, 1);
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000004, "Peripheral Temp", kCelsius, sys, 34, 41, 0.3, 1);
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000005, "CPU1_VRMIN Temp", kCelsius, pkgs[0], 35, 66, 0.5, 1);
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000006, "CPU2_VRMIN Temp", kCelsius, pkgs[1], 35, 66, 0.5, 1);
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000007, "Inlet Temp", kCelsius, sys, 21, 24, 0.2, 1);
  b.Follow(SENSOR_TYPE_VOLT, 0x02000000, "12V", "V", pkgs[0], 12.18, 12.02, 0.03, 0.001);
  b.Follow(SENSOR_TYPE_VOLT, 0x02000001, "5VCC", "V", pkgs[0], 5.03, 4.98, 0.01, 0.001);
  b.Follow(SENSOR_TYPE_VOLT, 0x02000002, "3.3VCC", "V", pkgs[0], 3.36, 3.31, 0.01, 0.001);
  b.Const(SENSOR_TYPE_VOLT, 0x02000003, "VBAT", "V", 3.08);
  b.Follow(SENSOR_TYPE_VOLT, 0x02000004, "CPU1_VCCIN", "V", pkgs[0], 1.62, 1.83, 0.01, 0.001);
  b.Follow(SENSOR_TYPE_VOLT, 0x02000005, "CPU2_VCCIN", "V", pkgs[1], 1.62, 1.83, 0.01, 0.001);
  // No fan sits on a CPU in this chassis, but the BMC's fan zones carry the CPU names.
  b.Lagged(SENSOR_TYPE_FAN, 0x03000000, "CPU1 Zone Fan", "RPM", pkgs[0], 4200, 9800, 60, 70);
  b.Lagged(SENSOR_TYPE_FAN, 0x03000001, "CPU2 Zone Fan", "RPM", pkgs[1], 4200, 9800, 60, 70);
  for (uint32_t f = 0; f < 6; ++f)
    b.Lagged(SENSOR_TYPE_FAN, 0x03000002 + f, "FAN" + std::to_string(f + 1), "RPM", sys, 3500, 7700, 60, 70);

  for (uint32_t ps = 0; ps < 2; ++ps) {
    b.Sensor(kSensorPSU, ps, "PSU [#" + std::to_string(ps) + "]: Supermicro PWS-2K08A-1R");
    const int in = b.Follow(SENSOR_TYPE_POWER, 0x05000000, "Input Power", "W", pkgs[ps], 310, 820, 6, 1);
    b.Linear(SENSOR_TYPE_POWER, 0x05000001, "Output Power", "W", in, -8, 0.94, 1);
    b.Follow(SENSOR_TYPE_VOLT, 0x02000000, "Input Voltage", "V", sys, 228, 234, 0.8, 0.5);
    b.Linear(SENSOR_TYPE_CURRENT, 0x04000000, "Output Current", "A", in, 0, 0.94 / 12.1, 0.01);
    b.Lagged(SENSOR_TYPE_TEMP, 0x01000000, "Temperature", kCelsius, pkgs[ps], 31, 44, 0.3, 1);
    b.Lagged(SENSOR_TYPE_FAN, 0x03000000, "Fan", "RPM", pkgs[ps], 5200, 9100, 40, 10);
  }

  AddDrive(b, TDriveSpec{0, "Micron 7450 PRO 3840GB", "23053C1A2B3C", "Boot", 6800, 5300, 38, 58, 99, 50340, 81230, 2, false});
  AddDrive(b, TDriveSpec{1, "Micron 7450 PRO 3840GB", "23053C1A2B4D", "", 6800, 5300, 38, 59, 99, 49876, 80115, 2, true});
  AddDrive(b, TDriveSpec{2, "SAMSUNG MZQL21T9HCJR-00A07", "S64GNE0T101234", "Scratch", 6800, 2700, 36, 62, 96, 302110, 410334, 1, false});
  AddDrive(b, TDriveSpec{3, "SAMSUNG MZQL21T9HCJR-00A07", "S64GNE0T101235", "", 6800, 2700, 36, 61, 97, 298765, 402211, 2, false});

  AddNetwork(b, 0, "Intel Ethernet Controller E810-XXV for SFP #1", 2800000, 1900000, 25);
  AddNetwork(b, 1, "Intel Ethernet Controller E810-XXV for SFP #2", 1200000, 600000, 25);

  const uint32_t ups = b.Driver(0.5, 0.05, 211, 0.01);
  b.Sensor(kSensorUPS, 0, "UPS: APC Smart-UPS SRT 3000");
  b.Follow(SENSOR_TYPE_OTHER, 0x08000000, "Remaining Capacity", "Wh", ups, 1780, 1790, 0, 1);
  b.Follow(SENSOR_TYPE_OTHER, 0x08000001, "Estimated Run Time", "mins", ups, 21, 14, 0, 1);
  b.Follow(SENSOR_TYPE_USAGE, 0x07000000, "Output Load", "%", ups, 28, 49, 0.5, 1);
  b.Follow(SENSOR_TYPE_VOLT, 0x02000000, "Output Voltage", "V", ups, 229, 231, 0.3, 0.1);
  b.Follow(SENSOR_TYPE_CURRENT, 0x04000000, "Output Current", "A", ups, 3.6, 6.4, 0.05, 0.1);
  AddWHEA(b);
}

// --- the host machine ------------------------------------------------------------

// Beyond the 2048 logical processors Windows runs on; guards against nonsense counts.
constexpr uint32_t kMaxHostCores = 2048;

// The processor as sensor programs name it, from the CPUID brand string:
// "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz" is "Intel Core i7-8700",
// "AMD Ryzen 9 5950X 16-Core Processor" is "AMD Ryzen 9 5950X".
std::string HostProcessorName(const std::string& ABrand, uint32_t AVendor) {
  std::string text;
  for (char c : ABrand) text += c > ' ' && c <= '~' ? c : ' ';  // CPUID pads with blanks and zeros
  for (const char* mark : {"(R)", "(r)", "(TM)", "(tm)"})
    for (size_t at; (at = text.find(mark)) != std::string::npos;) text.erase(at, std::strlen(mark));
  std::string name;
  for (size_t i = 0, end; i < text.size(); i = end) {
    while (i < text.size() && text[i] == ' ') ++i;
    end = text.find(' ', i);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(i, end - i);
    if (word.empty() || word == "CPU" || word == "Processor" ||
        (word.size() > 5 && word.compare(word.size() - 5, 5, "-Core") == 0))
      continue;
    if (word[0] == '@') break;  // the rated clock
    name += (name.empty() ? "" : " ") + word;
  }
  if (!name.empty()) return name;
  return AVendor == 1 ? "Intel processor" : AVendor == 2 ? "AMD processor" : "Processor";
}

void MakeHost(TSF_Profile& p, const TSF_HostFigures& f) {
  const uint32_t vendor = f.CPUInfo.Vendor;
  const uint32_t cores = std::clamp(f.CPUInfo.NumPhysicalCores, 1u, kMaxHostCores);
  const uint32_t packages = std::clamp(f.CPUInfo.NumCPUs, 1u, cores);
  const uint32_t threads = std::clamp(f.CPUInfo.NumLogicalProcessors, cores, kMaxHostCores * 2);
  // Memory Windows can use, as HWiNFO's memory readings count it.
  uint64_t ram = f.RAMInfo.TotalReported ? f.RAMInfo.TotalReported : f.RAMInfo.TotalInstalled;
  if (ram == 0) ram = uint64_t{16} << 30;
  const std::string model = HostProcessorName(f.Brand, vendor);

  p.Name = kHostProfileName;
  p.Description = "this machine: " + model + " (" + std::to_string(packages) +
                  (packages == 1 ? " package, " : " packages, ") + std::to_string(cores) + " cores, " +
                  std::to_string(threads) + " threads, " + std::to_string((ram + (uint64_t{1} << 29)) >> 30) +
                  " GB RAM), with intel-hybrid's GeForce RTX 3070 and two NVMe drives";
  p.CPUInfo = TQD_CPUINFO{vendor, packages, cores, threads};
  TBuilder b(p, 0x4057);
  const uint32_t sys = b.Driver(0.45, 0.15, 97, 0.02);
  AddSystem(b, "this machine", static_cast<double>(ram >> 20), sys);

  // Threads are spread evenly, the first cores taking the remainder; on Intel
  // cores with fewer threads than the rest are efficiency cores.
  const uint32_t perCore = threads / cores, extra = threads % cores;
  const bool hybrid = vendor == 1 && extra != 0;
  uint32_t firstPkg = 0;  // the board's sensors follow the first package
  for (uint32_t inst = 0, first = 0; inst < packages; ++inst) {
    const uint32_t n = cores / packages + (inst < cores % packages ? 1 : 0);
    const uint32_t pkg = b.Driver(0.22, 0.16, 47 + 10 * inst, 0.07, 0.05);
    if (inst == 0) firstPkg = pkg;
    TCPUSpec cpu;
    cpu.Instance = inst;
    cpu.Model = model;
    cpu.Vendor = vendor == 2 ? vAmd : vIntel;
    cpu.CCDs = vendor == 2 ? static_cast<int>((n + 7) / 8) : 0;  // eight cores per die
    cpu.PackagePowerLow = 4 + 0.5 * n;
    cpu.PackagePowerHigh = 20;
    for (uint32_t c = 0; c < n; ++c) {
      const bool big = first + c < extra;
      TCoreSpec k;
      k.Name = (hybrid ? (big ? "P-core " : "E-core ") : "Core ") + std::to_string(c);
      k.Threads = static_cast<int>(perCore + (big ? 1 : 0));
      k.ClockLow = vendor == 2 ? 2800 : 800;
      k.ClockHigh = hybrid && !big ? 3800 : 4700 - 100 * (c % 3);
      k.VIDLow = vendor == 2 ? 0.95 : 0.72;
      k.VIDHigh = vendor == 2 ? 1.45 : 1.30;
      k.TempLow = 32 + c % 3;
      k.TempHigh = 80 + c % 5;
      k.PowerLow = hybrid && !big ? 0.2 : 0.4;
      k.PowerHigh = hybrid && !big ? 5.5 : 14;
      k.Share = 0.2 + 0.02 * (c % 4);
      if (vendor == 2) k.TempSuffix = " (CCD" + std::to_string(c / 8 + 1) + ")";
      cpu.PackagePowerHigh += k.PowerHigh;
      cpu.Cores.push_back(k);
    }
    first += n;
    AddProcessor(b, cpu, pkg);
  }

  b.Sensor(kSensorBoard, 0, "Motherboard");
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000000, "Motherboard", kCelsius, firstPkg, 29, 36, 0.3, 1);
  b.Lagged(SENSOR_TYPE_TEMP, 0x01000001, "CPU", kCelsius, firstPkg, 32, 84, 1, 1);
  // The first fan whose label names the CPU is the processor's fan.
  b.Lagged(SENSOR_TYPE_FAN, 0x03000000, "CPU", "RPM", firstPkg, 640, 1850, 12, 1);
  b.Lagged(SENSOR_TYPE_FAN, 0x03000001, "Chassis1", "RPM", firstPkg, 720, 1150, 8, 1);

  AddDesktopDrives(b);
  AddGeForceRTX3070(b);
  AddNetwork(b, 0, "Intel Ethernet Controller I225-V", 11800, 2400, 0);
  AddWHEA(b);
}

// --- moving values -------------------------------------------------------------

double RoundTo(double AValue, double AStep) {
  return AStep > 0 ? std::round(AValue / AStep) * AStep : AValue;
}

// One reading's value at ATick; ANow and ALag are the drivers' values.
double NextValue(const TSF_Profile& p, size_t i, int64_t ATick, uint32_t AIntervalMs,
                 const std::vector<double>& ANow, const std::vector<double>& ALag) {
  const TSF_Motion& m = p.Motion[i];
  const TSF_Reading& r = p.Block.Readings[i];
  const double now = m.Driver < ANow.size() ? ANow[m.Driver] : 0;
  const double lag = m.Driver < ALag.size() ? ALag[m.Driver] : 0;
  const uint64_t seed = Mix(i * 0x51ED27ull + 0xABCDEF);
  switch (m.Kind) {
    case smConstant: return r.Value;
    case smFollow:
    case smLagged: {
      const double d = m.Kind == smFollow ? now : lag;
      const double v = m.Low + (m.High - m.Low) * d + m.Jitter * Signed(seed, ATick);
      return Clamp(RoundTo(Clamp(v, m.Low, m.High), m.Step), m.Low, m.High);
    }
    case smLinear: {
      // Sources come earlier in the list, so they already hold this tick's value.
      const double src = m.Source >= 0 && static_cast<size_t>(m.Source) < i
                             ? p.Block.Readings[static_cast<size_t>(m.Source)].Value
                             : 0;
      return RoundTo(m.Offset + m.Scale * src, m.Step);
    }
    case smCounter:
      // Not rounded: a slow counter would otherwise never leave its start.
      return r.Value + m.High * now * (AIntervalMs / 1000.0);
    case smFlag: return now >= m.Low ? 1 : 0;
  }
  return r.Value;
}

void ComputeValues(TSF_Profile& p, int64_t ATick, uint32_t AIntervalMs, bool AFirst) {
  const size_t nd = p.Drivers.size();
  std::vector<double> now(nd), lag(nd);
  for (size_t d = 0; d < nd; ++d) {
    now[d] = DriverValue(p, static_cast<uint32_t>(d), ATick);
    double sum = 0;
    for (int k = 0; k < kLagTicks; ++k) sum += DriverValue(p, static_cast<uint32_t>(d), ATick - k);
    lag[d] = sum / kLagTicks;
  }
  const size_t n = std::min(p.Motion.size(), p.Block.Readings.size());
  for (size_t i = 0; i < n; ++i) {
    TSF_Reading& r = p.Block.Readings[i];
    const double v = NextValue(p, i, ATick, AIntervalMs, now, lag);
    r.Value = v;
    if (AFirst) {
      r.ValueMin = r.ValueMax = r.ValueAvg = v;
      continue;
    }
    r.ValueMin = std::min(r.ValueMin, v);
    r.ValueMax = std::max(r.ValueMax, v);
    r.ValueAvg += (v - r.ValueAvg) / static_cast<double>(p.Samples + 1);
  }
}

// Tick 0: the fixed start time and every value at its first step.
void StartProfile(TSF_Profile& p) {
  p.StartPollTime = kStartPollTime;
  p.Block.PollTime = kStartPollTime;
  ComputeValues(p, 0, 0, true);
  p.Samples = 1;
}

}  // namespace

double DriverValue(const TSF_Profile& AProfile, uint32_t ADriver, int64_t ATick) {
  if (ADriver >= AProfile.Drivers.size()) return 0;
  const TSF_Driver& d = AProfile.Drivers[ADriver];
  const double phase1 = kTwoPi * Unit(d.Seed, -1);
  const double phase2 = kTwoPi * Unit(d.Seed, -2);
  const double period = d.Period > 1 ? d.Period : 1;
  const double t = static_cast<double>(ATick);
  double v = d.Base + d.Swing * std::sin(kTwoPi * t / period + phase1) +
             0.5 * d.Swing * std::sin(kTwoPi * t / (period * 0.37) + phase2) + d.Noise * Signed(d.Seed, ATick);
  // Bursts last four ticks: a compile, a game's loading screen, a copy.
  const int64_t window = FloorDiv(ATick, 4);
  if (d.Burst > 0 && Unit(d.Seed ^ 0xB0B0, window) < d.Burst) v = 0.85 + 0.15 * Unit(d.Seed ^ 0xB1B1, ATick);
  // A parent comes earlier in the list, so this cannot recurse forever.
  if (d.Parent >= 0 && static_cast<uint32_t>(d.Parent) < ADriver)
    v = d.Weight * DriverValue(AProfile, static_cast<uint32_t>(d.Parent), ATick) + (1 - d.Weight) * v;
  return Clamp(v, 0, 1);
}

std::vector<std::string> ProfileNames() { return {"intel-hybrid", "amd-desktop", "server"}; }

bool MakeProfile(const std::string& AName, TSF_Profile& AProfile) {
  TSF_Profile p;
  if (AName == "intel-hybrid") MakeIntelHybrid(p);
  else if (AName == "amd-desktop") MakeAmdDesktop(p);
  else if (AName == "server") MakeServer(p);
  else return false;
  StartProfile(p);
  AProfile = std::move(p);
  return true;
}

void MakeHostProfile(const TSF_HostFigures& AFigures, TSF_Profile& AProfile) {
  TSF_Profile p;
  MakeHost(p, AFigures);
  StartProfile(p);
  AProfile = std::move(p);
}

void AdvanceProfile(TSF_Profile& AProfile, uint64_t ATick, uint32_t AIntervalMs) {
  ComputeValues(AProfile, static_cast<int64_t>(ATick), AIntervalMs, false);
  ++AProfile.Samples;
  AProfile.ElapsedMs += AIntervalMs;
  AProfile.Block.PollTime = AProfile.StartPollTime + static_cast<int64_t>(AProfile.ElapsedMs / 1000);
}

void LoadProfileLists(const TSF_Profile& AProfile, TQD_SensorList& ASensors, TQD_ReadingsList& AReadings) {
  const std::vector<uint8_t> block = WriteBlock(AProfile.Block);
  uint8_t status = hwsNotPolled;
  double pollTime = 0;
  ReadHWiNFOSnapshot(block.data(), block.size(), DecodeWindows1252, ASensors, AReadings, status, pollTime);
}
