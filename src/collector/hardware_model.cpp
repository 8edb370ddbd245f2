// Deriving the hardware model from the readings list: which sensors are
// processors, GPUs and drives, and which of their readings is which figure.
// Matching is by HWiNFO's numeric sensor and reading identifiers; labels are
// consulted only for core and thread numbers, CCDs, P/E cores and the CPU fan.
#include "collector/hardware_model_rules.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "collector/data_logger.h"

namespace {

constexpr uint32_t kSensorCPU = 0xF0000300;
constexpr uint32_t kSensorCPUPower = 0xF0000501;
constexpr uint32_t kSensorCPUPackage2 = 0xF0002A00;
constexpr uint32_t kSensorCPUCoreTemps = 0xF0000400;
constexpr uint32_t kSensorGPU1 = 0xE0002000;
constexpr uint32_t kSensorGPU2 = 0xE0001800;
constexpr uint32_t kSensorDrive = 0xF0000101;
constexpr uint32_t kSensorDriveTemps = 0xF0000100;

std::string UpperCopy(std::string_view AText) {
  std::string s(AText);
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool ContainsNoCase(std::string_view AText, std::string_view AUpperNeedle) {
  return UpperCopy(AText).find(AUpperNeedle) != std::string::npos;
}

// A whole decimal integer with an optional sign, nothing else.
bool ParseInt(std::string_view AText, int& AValue) {
  if (AText.empty()) return false;
  size_t i = 0;
  bool negative = false;
  if (AText[0] == '+' || AText[0] == '-') {
    negative = AText[0] == '-';
    i = 1;
  }
  if (i == AText.size()) return false;
  int64_t v = 0;
  for (; i < AText.size(); ++i) {
    if (AText[i] < '0' || AText[i] > '9') return false;
    v = v * 10 + (AText[i] - '0');
    if (v > 0x7FFFFFFF) return false;
  }
  AValue = static_cast<int>(negative ? -v : v);
  return true;
}

// The text after the first "CORE" (case-insensitive), without leading control
// characters and blanks, split at every single blank.
std::vector<std::string_view> PartsAfterCore(std::string_view ALabel) {
  std::vector<std::string_view> parts;
  size_t at = UpperCopy(ALabel).find("CORE");
  if (at == std::string::npos) return parts;
  std::string_view rest = ALabel.substr(at + 4);
  while (!rest.empty() && static_cast<unsigned char>(rest.front()) <= 32) rest.remove_prefix(1);
  size_t from = 0;
  for (;;) {
    size_t blank = rest.find(' ', from);
    parts.push_back(rest.substr(from, blank == std::string_view::npos ? rest.npos : blank - from));
    if (blank == std::string_view::npos) break;
    from = blank + 1;
  }
  return parts;
}

bool InRange(uint32_t AId, uint32_t AFirst, uint32_t ACount) {
  return AId >= AFirst && uint64_t{AId} < uint64_t{AFirst} + ACount;
}

// Core and thread numbers come from label texts in the block, which is
// untrusted: a negative number would index before the list and a huge one
// would allocate without bound. Real processors stay far below these.
constexpr int kMaxCoreNumber = 4095;
constexpr int kMaxThreadNumber = 255;

bool ValidCore(int ACore) { return ACore >= 0 && ACore <= kMaxCoreNumber; }
bool ValidThread(int AThread) { return AThread >= 0 && AThread <= kMaxThreadNumber; }

template <typename T>
T& EnsureIndex(std::vector<T>& AList, int AIndex) {
  if (AList.size() < static_cast<size_t>(AIndex) + 1) AList.resize(static_cast<size_t>(AIndex) + 1);
  return AList[static_cast<size_t>(AIndex)];
}

}  // namespace

bool ParseCoreNumber(std::string_view ALabel, int& ACore) {
  ACore = -1;
  std::vector<std::string_view> parts = PartsAfterCore(ALabel);
  return !parts.empty() && ParseInt(parts[0], ACore);
}

bool ParseThreadUsageLabel(std::string_view ALabel, int& ACore, int& AThread) {
  ACore = -1;
  AThread = -1;
  if (!ContainsNoCase(ALabel, "USAGE")) return false;
  std::vector<std::string_view> parts = PartsAfterCore(ALabel);
  if (parts.size() < 2 || parts[1].empty() || parts[1][0] != 'T') return false;
  int c, t;
  if (!ParseInt(parts[0], c) || !ParseInt(parts[1].substr(1), t)) return false;
  ACore = c;
  AThread = t;
  return true;
}

int ParseCCDNumber(std::string_view ALabel) {
  size_t at = UpperCopy(ALabel).find("CCD");
  if (at == std::string::npos) return -1;
  std::string_view rest = ALabel.substr(at + 3);
  int ccd;
  return ParseInt(rest.substr(0, rest.find(')')), ccd) ? ccd : -1;
}

bool IsPCoreLabel(std::string_view ALabel) { return ContainsNoCase(ALabel, "P-CORE"); }
bool IsECoreLabel(std::string_view ALabel) { return ContainsNoCase(ALabel, "E-CORE"); }

uint32_t GetGPUVendor(std::string_view ASensorName) {
  static constexpr std::string_view kNames[3] = {"INTEL", "AMD", "NVIDIA"};
  uint32_t vendor = 0;
  for (uint32_t i = 0; i < 3; ++i)
    if (ContainsNoCase(ASensorName, kNames[i])) vendor = i + 1;
  return vendor;
}

std::string GetGPUName(std::string_view ASensorName) {
  size_t at = ASensorName.find("]: ");
  std::string_view rest = at != std::string_view::npos ? ASensorName.substr(at + 3)
                          : ASensorName.size() > 2 ? ASensorName.substr(2)
                                                   : std::string_view{};
  std::string name;
  name.reserve(rest.size());
  for (char c : rest)
    if (c != ':') name.push_back(c);
  return name;
}

int64_t RoundHalfEven(double AValue) {
  // Converting a double outside the int64 range is undefined; saturate instead.
  if (std::isnan(AValue)) return 0;
  if (AValue >= 9223372036854775807.0) return INT64_MAX;
  if (AValue <= -9223372036854775808.0) return INT64_MIN;
  return static_cast<int64_t>(std::nearbyint(AValue));
}

void TQD_DataLogger::RebuildHardwareModel() {
  const uint32_t N = FCPUInfo.NumPhysicalCores;

  // 1. One CPU per processor sensor.
  FCPUs.assign(1, TQD_CPUMTR_ACPU{});
  for (const TQD_SensorListItem& s : FSensorList)
    if (s.dwSensorID == kSensorCPU) FCPUs.push_back(TQD_CPUMTR_ACPU{.Instance = s.dwSensorInst});

  // 2. CPU fan: walking backwards, later assignments win, so the first such
  // reading in list order is kept. Any sensor may carry it; only CPU 1 gets one.
  if (NumCPUs() > 0)
    for (size_t i = FReadingsList.size(); i-- > 1;) {
      const TQD_ReadingsListItem& r = FReadingsList[i];
      if (r.tReading == SENSOR_TYPE_FAN && ContainsNoCase(r.szLabelOrig, "CPU"))
        FCPUs[1].Fanspeed = r.URID();
    }

  // 3. GPUs.
  FGPUs.assign(1, TQD_GPUMTR_AGPU{});
  for (const TQD_SensorListItem& s : FSensorList)
    if (s.dwSensorID == kSensorGPU1 || s.dwSensorID == kSensorGPU2) {
      TQD_GPUMTR_AGPU gpu;
      gpu.Instance = s.dwSensorInst;
      gpu.Vendor = GetGPUVendor(s.szSensorNameOrig);
      gpu.GPUName = GetGPUName(s.szSensorNameOrig);
      FGPUs.push_back(std::move(gpu));
    }

  // 4. Hardware drives.
  FHardwareDrives.assign(1, TQD_DRVMTR_AHardwareDrive{});
  for (const TQD_SensorListItem& s : FSensorList)
    if (s.dwSensorID == kSensorDrive)
      FHardwareDrives.push_back(TQD_DRVMTR_AHardwareDrive{.Instance = s.dwSensorInst,
                                                          .Name = s.szSensorNameUser});

  // 5. Attach readings. Every rule is tested on its own; later matches overwrite.
  // A reading whose instance has no CPU, GPU or drive resolves to index 0;
  // it is dropped rather than written into the placeholder, which stays
  // all-empty for whoever reads through index 0.
  for (size_t i = 1; i < FReadingsList.size(); ++i) {
    const TQD_ReadingsListItem& r = FReadingsList[i];
    const TQD_URID urid = r.URID();
    const uint32_t id = r.dwReadingID;
    const uint32_t sensor = r.dwSensorID;

    const bool cpuSensor = sensor == kSensorCPU || sensor == kSensorCPUPower ||
                           sensor == kSensorCPUPackage2 || sensor == kSensorCPUCoreTemps;
    const int cpuIndex = NumCPUs() > 0 && cpuSensor ? GetCPUIndex(r.dwSensorInst) : 0;
    if (cpuIndex > 0) {
      TQD_CPUMTR_ACPU& cpu = FCPUs[static_cast<size_t>(cpuIndex)];
      int c, t;
      if (sensor == kSensorCPU) {
        if (r.szLabelOrig == "Total CPU Usage") cpu.Usage = urid;
        if (id >= 0x07000000 && id <= 0x07FFFFFF && ParseThreadUsageLabel(r.szLabelOrig, c, t) &&
            ValidCore(c) && ValidThread(t)) {
          TQD_CPUMTR_ACore& core = EnsureIndex(cpu.Cores, c);
          EnsureIndex(core.HardwareThreads, t).Usage = urid;
          core.IsPCore = IsPCoreLabel(r.szLabelOrig);
          core.IsECore = IsECoreLabel(r.szLabelOrig);
        }
        if (InRange(id, 0x02000000, N) && ParseCoreNumber(r.szLabelOrig, c) && ValidCore(c))
          EnsureIndex(cpu.Cores, c).Voltage = urid;
        if (InRange(id, 0x06000000, N) && ParseCoreNumber(r.szLabelOrig, c) && ValidCore(c))
          EnsureIndex(cpu.Cores, c).Clock = urid;
      } else if (sensor == kSensorCPUPower) {
        if (id == 0x05000000) cpu.PackagePower = urid;
        if (id == 0x01000000) cpu.Temperature = urid;
        if (InRange(id, 0x05000001, N) && ParseCoreNumber(r.szLabelOrig, c) && ValidCore(c))
          EnsureIndex(cpu.Cores, c).Power = urid;
        if (InRange(id, 0x01000080, N) && ParseCoreNumber(r.szLabelOrig, c) && ValidCore(c)) {
          TQD_CPUMTR_ACore& core = EnsureIndex(cpu.Cores, c);
          core.CCD = ParseCCDNumber(r.szLabelOrig);
          core.Temperature = urid;
        }
      } else if (sensor == kSensorCPUPackage2) {
        if (id == 0x05000000) cpu.PackagePower = urid;
        if (id == 0x01000004) cpu.Temperature = urid;
      } else {  // kSensorCPUCoreTemps
        if (InRange(id, 0x01000000, N) && ParseCoreNumber(r.szLabelOrig, c) && ValidCore(c))
          EnsureIndex(cpu.Cores, c).Temperature = urid;
      }
    }

    const int gpuIndex =
        NumGPUs() > 0 && (sensor == kSensorGPU1 || sensor == kSensorGPU2) ? GetGPUIndex(r.dwSensorInst) : 0;
    if (gpuIndex > 0) {
      TQD_GPUMTR_AGPU& gpu = FGPUs[static_cast<size_t>(gpuIndex)];
      switch (id) {
        case 0x07000000: gpu.Usage = urid; break;
        case 0x02000000: gpu.Voltage = urid; break;
        case 0x06000000: gpu.Clock = urid; break;
        case 0x01000000: gpu.Temperature = urid; break;
        case 0x01000005: gpu.Hotspot = urid; break;
        case 0x06000004: gpu.MemoryClock = urid; break;
        case 0x01000004: gpu.MemoryTemperature = urid; break;
        case 0x07000001: gpu.MemoryControllerLoad = urid; break;
        case 0x06000005: gpu.VideoClock = urid; break;
        case 0x07000002: gpu.VideoEngineLoad = urid; break;
        case 0x03000000:
        case 0x03000001:
        case 0x03000002: gpu.Fans.push_back(urid); break;
        default: break;
      }
      if (sensor == kSensorGPU1) {
        if (id == 0x05000000) gpu.Power = urid;
        if (id == 0x080000FC) gpu.MemoryAllocated = urid;
        if (id == 0x07000008) gpu.MemoryUsage = urid;
      } else {
        if (id == 0x05000008) gpu.Power = urid;
        if (id == 0x08000004) gpu.MemoryAllocated = urid;
      }
    }

    const int driveIndex = NumHardwareDrives() > 0 && (sensor == kSensorDrive || sensor == kSensorDriveTemps)
                               ? GetDriveIndex(r.dwSensorInst)
                               : 0;
    if (driveIndex > 0) {
      TQD_DRVMTR_AHardwareDrive& drive = FHardwareDrives[static_cast<size_t>(driveIndex)];
      if (sensor == kSensorDriveTemps) {
        if (id == 0x01000000) drive.Temperature = urid;
        if (id == 0x01000001 && URIDIsEmpty(drive.Temperature)) drive.Temperature = urid;
      } else {
        if (id == 0x07000000) drive.ReadActivity = urid;
        if (id == 0x08000000) drive.ReadRate = urid;
        if (id == 0x07000001) drive.WriteActivity = urid;
        if (id == 0x08000001) drive.WriteRate = urid;
      }
    }
  }

  // 6. GPU memory total, once per rebuild from this poll's values.
  for (size_t g = 1; g < FGPUs.size(); ++g) {
    TQD_GPUMTR_AGPU& gpu = FGPUs[g];
    gpu.MemoryTotal = FGPUMemoryTotalManual;
    if (gpu.Vendor == 3) {
      const double a = GetValue(gpu.MemoryAllocated, dcsValue);
      const double u = GetValue(gpu.MemoryUsage, dcsValue);
      if (a > 0 && u > 0) {
        // Absurd readings (a total beyond 32 bits) keep the manual figure
        // rather than wrapping into a plausible-looking wrong one.
        const double total = std::nearbyint(a / u * 100);  // halves to even
        if (total <= 4294967295.0) gpu.MemoryTotal = static_cast<uint32_t>(total);
      }
    }
  }
}
