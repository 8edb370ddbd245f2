// Printing a data logger's snapshot; see dump_text.h.
#include "sensorfeed/dump_text.h"

#include <cmath>
#include <cstdio>

#include "collector/data_logger.h"
#include "collector/hwinfo_sm2.h"

namespace {

const char* kTypeNames[9] = {"none", "temperature", "voltage", "fan", "current", "power", "clock", "usage", "other"};

const char* TypeName(uint32_t AType) { return AType < 9 ? kTypeNames[AType] : "unknown"; }

// Civil date from days since 1970-01-01 (proleptic Gregorian).
void CivilFromDays(int64_t z, int& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t yy = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<int>(yy + (m <= 2));
}

}  // namespace

const char* HWiStatusMeaning(uint8_t AStatus) {
  switch (AStatus) {
    case hwsOK: return "OK: snapshot read";
    case hwsNotPolled: return "not polled yet";
    case hwsReadError:
      return "read error: a reading names a sensor outside the sensor list, or the block is malformed "
             "(unknown signature, sections beyond the mapped view)";
    case hwsDead: return "the block is marked DEAD: its publisher has stopped";
    case hwsNoMapping:
      return "no block: Global\\HWiNFO_SENS_SM2 cannot be opened (HWiNFO not running or its shared memory "
             "support switched off)";
    default: return "unknown status";
  }
}

std::string DateTimeText(double ADateTime) {
  if (!std::isfinite(ADateTime) || std::fabs(ADateTime) > 3e6) return "-";
  // Round to whole seconds first so that 12:59:59.9999 does not print as 12:59:59.
  const double secondsSince1970 = std::round((ADateTime - 25569.0) * 86400.0);
  const int64_t total = static_cast<int64_t>(secondsSince1970);
  int64_t days = total / 86400, rest = total % 86400;
  if (rest < 0) { rest += 86400; --days; }
  int y;
  unsigned m, d;
  CivilFromDays(days, y, m, d);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02u %02d:%02d:%02d", y, m, d, static_cast<int>(rest / 3600),
                static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
  return buf;
}

std::string ValueText(double AValue) {
  if (std::isnan(AValue)) return "nan";
  if (std::isinf(AValue)) return AValue > 0 ? "inf" : "-inf";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3f", AValue);
  std::string s = buf;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

void PrintSnapshot(const TQD_DataLogger& ALogger, std::FILE* AOut) {
  const uint8_t status = ALogger.LastHWiPollingStatus();
  std::fprintf(AOut, "HWiNFO polling status: %u (%s)\n", static_cast<unsigned>(status), HWiStatusMeaning(status));
  const TQD_SensorList& sensors = ALogger.SensorList();
  const TQD_ReadingsList& readings = ALogger.ReadingList();
  if (status == hwsOK || status == hwsReadError) {
    // A refused header leaves the lists empty and the time untouched (still
    // 0 in a fresh logger); status 253 with readings means only a bad sensor
    // index in a header that was read.
    const bool headerRead = status == hwsOK || readings.size() > 1;
    const int duration = static_cast<int>(ALogger.LastHWiPollingDuration());
    if (headerRead)
      std::fprintf(AOut, "Poll time: %s UTC (%d ms to copy)\n", DateTimeText(ALogger.LastHWiPollingTime()).c_str(),
                   duration);
    else
      std::fprintf(AOut, "Poll time: not known, the block's header was refused (%d ms to read)\n", duration);
  }
  const size_t readingCount = readings.empty() ? 0 : readings.size() - 1;
  std::fprintf(AOut, "%zu sensors, %zu readings\n", sensors.size(), readingCount);

  size_t lastSensor = static_cast<size_t>(-1);
  for (size_t i = 1; i < readings.size(); ++i) {
    const TQD_ReadingsListItem& r = readings[i];
    if (r.dwSensorID == 0 && r.szSensorNameOrig.empty() && r.szLabelOrig.empty()) {
      std::fprintf(AOut, "  [%zu] (names a sensor outside the sensor list)\n", i);
      lastSensor = static_cast<size_t>(-1);
      continue;
    }
    if (r.dwSensorIndex != lastSensor) {
      lastSensor = r.dwSensorIndex;
      std::fprintf(AOut, "\nSensor %u: %s", r.dwSensorIndex, r.szSensorNameOrig.c_str());
      if (r.szSensorNameUser != r.szSensorNameOrig) std::fprintf(AOut, "  (user: %s)", r.szSensorNameUser.c_str());
      std::fputc('\n', AOut);
    }
    std::fprintf(AOut, "  [%zu] %s  %-11s %s", i, URIDToText(r.URID()).c_str(), TypeName(r.tReading),
                 r.szLabelOrig.c_str());
    if (r.szLabelUser != r.szLabelOrig) std::fprintf(AOut, " (user: %s)", r.szLabelUser.c_str());
    std::fprintf(AOut, " = %s %s  [min %s, max %s, avg %s]\n", ValueText(r.Value).c_str(), r.szUnit.c_str(),
                 ValueText(r.ValueMin).c_str(), ValueText(r.ValueMax).c_str(), ValueText(r.ValueAvg).c_str());
  }
  // Sensors that no reading refers to would not show above.
  for (size_t s = 0; s < sensors.size(); ++s) {
    bool used = false;
    for (size_t i = 1; i < readings.size() && !used; ++i) used = readings[i].dwSensorIndex == s && !readings[i].szSensorNameOrig.empty();
    if (!used)
      std::fprintf(AOut, "\nSensor %zu: %s (0x%08X, instance %u): no readings\n", s, sensors[s].szSensorNameOrig.c_str(),
                   sensors[s].dwSensorID, sensors[s].dwSensorInst);
  }
}
