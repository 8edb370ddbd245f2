// The exposition text; see metrics_format.h.
#include "metrics/metrics_format.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

namespace {

const char* TypeWord(uint32_t AType) {
  switch (AType) {
    case SENSOR_TYPE_TEMP: return "temperature";
    case SENSOR_TYPE_VOLT: return "voltage";
    case SENSOR_TYPE_FAN: return "fan";
    case SENSOR_TYPE_CURRENT: return "current";
    case SENSOR_TYPE_POWER: return "power";
    case SENSOR_TYPE_CLOCK: return "clock";
    case SENSOR_TYPE_USAGE: return "usage";
    default: return "other";
  }
}

struct TUnitRule {
  std::string_view Unit;
  std::string_view Suffix;
  double Offset, Mul, Div;
  std::string_view Base;
};

// HWiNFO's units. Sizes are binary, as Windows counts them. Abbreviated unit
// words (mb, s, ...) are kept out of names: metric linters reject them.
constexpr TUnitRule kUnitRules[] = {
    {"\xC2\xB0" "C", "_celsius", 0, 1, 1, "celsius"},
    {"\xC2\xB0" "F", "_celsius", -32, 5, 9, "celsius"},
    {"%", "_ratio", 0, 1, 100, "ratio"},
    {"MHz", "_hertz", 0, 1e6, 1, "hertz"},
    {"V", "_volts", 0, 1, 1, "volts"},
    {"A", "_amperes", 0, 1, 1, "amperes"},
    {"W", "_watts", 0, 1, 1, "watts"},
    {"RPM", "_rpm", 0, 1, 1, "revolutions per minute"},
    {"MB", "_bytes", 0, 1048576.0, 1, "bytes"},
    {"GB", "_bytes", 0, 1073741824.0, 1, "bytes"},
    {"KB/s", "_bytes_per_second", 0, 1024, 1, "bytes per second"},
    {"MB/s", "_bytes_per_second", 0, 1048576.0, 1, "bytes per second"},
    {"Gbps", "_bytes_per_second", 0, 1e9, 8, "bytes per second"},
    {"GT/s", "_transfers_per_second", 0, 1e9, 1, "transfers per second"},
    {"Wh", "_joules", 0, 3600, 1, "joules"},
    {"mins", "_seconds", 0, 60, 1, "seconds"},
    {"x", "_multiplier", 0, 1, 1, "multiplier"},
    {"T", "_cycles", 0, 1, 1, "clock cycles"},
    {"Yes/No", "_flag", 0, 1, 1, "1 for yes, 0 for no"},
};

// Any other unit text as a name part: ASCII letters and digits, the rest "_".
std::string UnitSuffix(std::string_view AUnit) {
  std::string out;
  for (char c : AUnit) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x80 && std::isalnum(u))
      out += static_cast<char>(std::tolower(u));
    else if (c == '%')
      out += "_percent_";
    else if (c == '/')
      out += "_per_";
    else
      out += '_';
  }
  std::string tidy = "_";
  for (char c : out)
    if (c != '_' || tidy.back() != '_') tidy += c;
  while (!tidy.empty() && tidy.back() == '_') tidy.pop_back();
  return tidy;
}

void AppendHelpText(std::string& AOut, std::string_view AText) {
  for (char c : AText) {
    if (c == '\\') AOut += "\\\\";
    else if (c == '\n') AOut += "\\n";
    else AOut += c;
  }
}

void Family(std::string& AOut, std::string_view AName, std::string_view AType, std::string_view AHelp) {
  AOut += "# HELP ";
  AOut += AName;
  AOut += ' ';
  AppendHelpText(AOut, AHelp);
  AOut += "\n# TYPE ";
  AOut += AName;
  AOut += ' ';
  AOut += AType;
  AOut += '\n';
}

void Label(std::string& AOut, bool AFirst, std::string_view AName, std::string_view AValue) {
  AOut += AFirst ? '{' : ',';
  AOut += AName;
  AOut += "=\"";
  AppendEscapedLabelValue(AOut, AValue);
  AOut += '"';
}

void Hex(std::string& AOut, uint32_t AValue, int ADigits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%0*X", ADigits, static_cast<unsigned>(AValue));
  AOut += buf;
}

void EndSample(std::string& AOut, double AValue) {
  AOut += ' ';
  AppendSampleValue(AOut, AValue);
  AOut += '\n';
}

void Single(std::string& AOut, std::string_view AName, std::string_view AType, std::string_view AHelp,
            double AValue) {
  Family(AOut, AName, AType, AHelp);
  AOut += AName;
  EndSample(AOut, AValue);
}

void Readings(std::string& AOut, const TQD_MetricsReadings& AReadings) {
  const auto& items = AReadings.Layout->Items;
  // One metric per (type, unit); readings sorted into their metric, and by
  // identifier inside it so that a duplicate identifier (possible in a block)
  // lands next to its first and is dropped: the first one wins, as in lookups.
  std::map<std::string, size_t> names;
  std::vector<TQD_ReadingMetric> metrics;
  struct TEntry {
    size_t Metric;
    size_t Item;
  };
  std::vector<TEntry> entries;
  entries.reserve(items.size());
  std::map<std::pair<uint32_t, std::string_view>, size_t> byTypeUnit;
  for (size_t i = 0; i < items.size(); ++i) {
    const auto key = std::make_pair(items[i].tReading, std::string_view(items[i].Unit));
    auto found = byTypeUnit.find(key);
    if (found == byTypeUnit.end()) {
      TQD_ReadingMetric m = ReadingMetric(items[i].tReading, items[i].Unit);
      auto named = names.emplace(m.Name, metrics.size());
      if (named.second) metrics.push_back(m);
      found = byTypeUnit.emplace(key, named.first->second).first;
    }
    entries.push_back({found->second, i});
  }
  std::vector<size_t> order(metrics.size());  // metric index -> rank by name
  {
    size_t rank = 0;
    for (const auto& n : names) order[n.second] = rank++;
  }
  std::sort(entries.begin(), entries.end(), [&](const TEntry& A, const TEntry& B) {
    if (A.Metric != B.Metric) return order[A.Metric] < order[B.Metric];
    const TQD_URID a = items[A.Item].URID(), b = items[B.Item].URID();
    if (a.dwSensorID != b.dwSensorID) return a.dwSensorID < b.dwSensorID;
    if (a.dwSensorInst != b.dwSensorInst) return a.dwSensorInst < b.dwSensorInst;
    if (a.dwReadingID != b.dwReadingID) return a.dwReadingID < b.dwReadingID;
    return A.Item < B.Item;
  });

  for (size_t e = 0; e < entries.size(); ++e) {
    const TQD_ReadingMetric& m = metrics[entries[e].Metric];
    const TQD_MetricsReading& r = items[entries[e].Item];
    if (e == 0 || entries[e - 1].Metric != entries[e].Metric) {
      std::string help = "HWiNFO ";
      help += TypeWord(r.tReading);
      help += " readings";
      if (!m.BaseUnit.empty()) {
        help += " in ";
        help += m.BaseUnit;
      }
      Family(AOut, m.Name, "gauge", help);
    } else if (items[entries[e - 1].Item].URID() == r.URID()) {
      continue;
    }
    AOut += m.Name;
    Label(AOut, true, "sensor", AReadings.Layout->SensorNames[r.SensorIndex]);
    Label(AOut, false, "reading", r.Label);
    Label(AOut, false, "unit", r.Unit);
    AOut += ",sensor_id=\"";
    Hex(AOut, r.dwSensorID, 8);
    AOut += "\",sensor_instance=\"";
    Hex(AOut, r.dwSensorInst, 1);
    AOut += "\",reading_id=\"";
    Hex(AOut, r.dwReadingID, 7);
    AOut += "\"}";
    EndSample(AOut, m.Convert(AReadings.Values[entries[e].Item]));
  }
}

void System(std::string& AOut, const TQD_MetricsSystem& ASystem) {
  Single(AOut, "quendal_system_poll_status", "gauge",
         "Status of the last system information poll: 0 OK, 1 not yet polled, 255 failed.", ASystem.PollStatus);
  Single(AOut, "quendal_memory_total_bytes", "gauge", "Installed or usable RAM, as the RAM gauge counts it.",
         static_cast<double>(ASystem.RAM.Total));
  Single(AOut, "quendal_memory_available_bytes", "gauge", "Available RAM.",
         static_cast<double>(ASystem.RAM.Available));

  // A drive that cannot be asked (no medium) has no size to report.
  auto drives = [&](std::string_view AName, std::string_view AHelp, bool AFree) {
    bool any = false;
    for (const TQD_DRVMTR_ALogicalDrive& d : ASystem.Drives) {
      if (d.TotalSpace < 0 || d.FreeSpace < 0) continue;
      if (!any) Family(AOut, AName, "gauge", AHelp);
      any = true;
      AOut += AName;
      Label(AOut, true, "drive", d.Letter);
      Label(AOut, false, "volume", d.Name);
      AOut += '}';
      EndSample(AOut, static_cast<double>(AFree ? d.FreeSpace : d.TotalSpace));
    }
  };
  drives("quendal_logical_drive_total_bytes", "Size of each logical drive.", false);
  drives("quendal_logical_drive_free_bytes", "Free bytes of each logical drive available to the user.", true);

  auto interfaces = [&](std::string_view AName, std::string_view AHelp, bool ASent) {
    if (ASystem.Interfaces.empty()) return;
    Family(AOut, AName, "counter", AHelp);
    for (const TQD_MetricsInterface& i : ASystem.Interfaces) {
      AOut += AName;
      Label(AOut, true, "interface", i.Name);
      Label(AOut, false, "guid", i.Guid);
      AOut += '}';
      EndSample(AOut, static_cast<double>(ASent ? i.SentBytes : i.ReceivedBytes));
    }
  };
  interfaces("quendal_network_receive_bytes_total", "Bytes received by each network interface.", false);
  interfaces("quendal_network_transmit_bytes_total", "Bytes sent by each network interface.", true);
}

}  // namespace

TQD_ReadingMetric ReadingMetric(uint32_t AType, std::string_view AUnit) {
  TQD_ReadingMetric m;
  m.Name = "quendal_hwinfo_";
  m.Name += TypeWord(AType);
  for (const TUnitRule& rule : kUnitRules)
    if (rule.Unit == AUnit) {
      m.Name += rule.Suffix;
      m.Offset = rule.Offset;
      m.Mul = rule.Mul;
      m.Div = rule.Div;
      m.BaseUnit = rule.Base;
      return m;
    }
  m.Name += UnitSuffix(AUnit);
  return m;
}

void AppendEscapedLabelValue(std::string& AOut, std::string_view AValue) {
  for (char c : AValue) {
    if (c == '\\') AOut += "\\\\";
    else if (c == '"') AOut += "\\\"";
    else if (c == '\n') AOut += "\\n";
    else AOut += c;
  }
}

void AppendSampleValue(std::string& AOut, double AValue) {
  if (std::isnan(AValue)) {
    AOut += "NaN";
  } else if (std::isinf(AValue)) {
    AOut += AValue > 0 ? "+Inf" : "-Inf";
  } else {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, AValue);
    AOut.append(buf, r.ptr);
  }
}

void FormatMetrics(const TQD_MetricsSnapshot& ASnapshot, int64_t ANowMs, std::string& AOut) {
  AOut.clear();
  Family(AOut, "quendal_build_info", "gauge", "Quendal's version; always 1.");
  AOut += "quendal_build_info";
  Label(AOut, true, "version", ASnapshot.Version);
  AOut += "} 1\n";

  Single(AOut, "quendal_hwinfo_poll_status", "gauge",
         "Status of the last HWiNFO poll: 0 OK, 1 not yet polled, 253 bad block, 254 HWiNFO stopped, 255 no "
         "shared memory.",
         ASnapshot.HWiPollStatus);
  // Never polled successfully: infinitely old, so an age alert fires.
  const double age = ASnapshot.Readings
                         ? static_cast<double>(std::max<int64_t>(0, ANowMs - ASnapshot.Readings->PolledAtMs)) / 1000.0
                         : INFINITY;
  Single(AOut, "quendal_hwinfo_last_poll_age_seconds", "gauge",
         "Seconds since the last successful HWiNFO poll, whose readings are served.", age);

  if (ASnapshot.Readings && ASnapshot.Readings->Layout) Readings(AOut, *ASnapshot.Readings);
  if (ASnapshot.System) System(AOut, *ASnapshot.System);
}
