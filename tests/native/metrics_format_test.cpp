// The exposition text the metrics endpoint serves: metric names and units per
// reading type, label escaping, special values, grouping, system figures.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>

#include "metrics/metrics_format.h"

namespace {

struct TReading {
  TQD_MetricsReading Item;
  double Value;
};

TReading Reading(uint32_t AType, const std::string& AUnit, double AValue, uint32_t AID = 0x1000000,
                 const std::string& ALabel = "Core 0") {
  return {{AType, 0xF0000300, 0, AID, 0, ALabel, AUnit}, AValue};
}

TQD_MetricsSnapshot WithReadings(std::vector<TReading> AItems, int64_t APolledAtMs = 1000,
                                 std::string ASensorName = "CPU [#0]") {
  TQD_MetricsSnapshot s;
  s.Version = "0.1";
  s.HWiPollStatus = 0;
  auto readings = std::make_shared<TQD_MetricsReadings>();
  auto layout = std::make_shared<TQD_MetricsLayout>();
  layout->SensorNames = {ASensorName};
  for (const TReading& r : AItems) {
    layout->Items.push_back(r.Item);
    readings->Values.push_back(r.Value);
  }
  readings->Layout = layout;
  readings->PolledAtMs = APolledAtMs;
  s.Readings = readings;
  return s;
}

std::string Format(const TQD_MetricsSnapshot& ASnapshot, int64_t ANowMs = 1000) {
  std::string out;
  FormatMetrics(ASnapshot, ANowMs, out);
  return out;
}

// The sample lines of one metric name, without the comments.
std::vector<std::string> Samples(const std::string& AText, const std::string& AName) {
  std::vector<std::string> out;
  std::istringstream in(AText);
  for (std::string line; std::getline(in, line);)
    if (line.rfind(AName + "{", 0) == 0 || line.rfind(AName + " ", 0) == 0) out.push_back(line);
  return out;
}

const std::string kLabels =
    "{sensor=\"CPU [#0]\",reading=\"Core 0\",unit=\"%s\",sensor_id=\"0xF0000300\",sensor_instance=\"0x0\","
    "reading_id=\"0x1000000\"}";

std::string Labels(const std::string& AUnit) {
  std::string out = kLabels;
  out.replace(out.find("%s"), 2, AUnit);
  return out;
}

TEST(MetricsFormat, ReadingsGetNamesAndBaseUnitsByTypeAndUnit) {
  struct TCase {
    uint32_t Type;
    std::string Unit;
    double Value;
    std::string Name;
    std::string Text;  // the sample's value
  };
  const TCase cases[] = {
      {SENSOR_TYPE_TEMP, "\xC2\xB0" "C", 45.5, "quendal_hwinfo_temperature_celsius", "45.5"},
      {SENSOR_TYPE_TEMP, "\xC2\xB0" "F", 212, "quendal_hwinfo_temperature_celsius", "100"},
      {SENSOR_TYPE_POWER, "W", 65.25, "quendal_hwinfo_power_watts", "65.25"},
      {SENSOR_TYPE_CLOCK, "MHz", 4700, "quendal_hwinfo_clock_hertz", "4.7e+09"},
      {SENSOR_TYPE_USAGE, "%", 45, "quendal_hwinfo_usage_ratio", "0.45"},
      {SENSOR_TYPE_VOLT, "V", 1.25, "quendal_hwinfo_voltage_volts", "1.25"},
      {SENSOR_TYPE_CURRENT, "A", 3, "quendal_hwinfo_current_amperes", "3"},
      {SENSOR_TYPE_FAN, "RPM", 1200, "quendal_hwinfo_fan_rpm", "1200"},
      {SENSOR_TYPE_OTHER, "MB", 2, "quendal_hwinfo_other_bytes", "2097152"},
      {SENSOR_TYPE_USAGE, "MB/s", 1, "quendal_hwinfo_usage_bytes_per_second", "1048576"},
      {SENSOR_TYPE_OTHER, "Gbps", 8, "quendal_hwinfo_other_bytes_per_second", "1e+09"},
      {SENSOR_TYPE_OTHER, "mins", 2, "quendal_hwinfo_other_seconds", "120"},
      {SENSOR_TYPE_OTHER, "Wh", 1, "quendal_hwinfo_other_joules", "3600"},
      {SENSOR_TYPE_OTHER, "Yes/No", 1, "quendal_hwinfo_other_flag", "1"},
      // unknown units keep their value and name their unit in plain characters
      {SENSOR_TYPE_OTHER, "dB(A)", 31, "quendal_hwinfo_other_db_a", "31"},
      {SENSOR_TYPE_NONE, "", 7, "quendal_hwinfo_other", "7"},
      {99, "%", 50, "quendal_hwinfo_other_ratio", "0.5"},
  };
  for (const TCase& c : cases) {
    const std::string text = Format(WithReadings({Reading(c.Type, c.Unit, c.Value)}));
    const auto samples = Samples(text, c.Name);
    ASSERT_EQ(samples.size(), 1u) << c.Unit << "\n" << text;
    EXPECT_EQ(samples[0], c.Name + Labels(c.Unit) + " " + c.Text) << c.Unit;
    EXPECT_NE(text.find("# TYPE " + c.Name + " gauge\n"), std::string::npos) << c.Unit;
    EXPECT_NE(text.find("# HELP " + c.Name + " "), std::string::npos) << c.Unit;
  }
}

TEST(MetricsFormat, LabelValuesAndHelpAreEscaped) {
  TReading r = Reading(SENSOR_TYPE_TEMP, "\xC2\xB0" "C", 1);
  r.Item.Label = "a\\\\b";
  const auto samples =
      Samples(Format(WithReadings({r}, 1000, "Drive \"C:\\\"\nline")), "quendal_hwinfo_temperature_celsius");
  ASSERT_EQ(samples.size(), 1u);
  EXPECT_NE(samples[0].find("sensor=\"Drive \\\"C:\\\\\\\"\\nline\""), std::string::npos) << samples[0];
  EXPECT_NE(samples[0].find("reading=\"a\\\\\\\\b\""), std::string::npos) << samples[0];

  std::string help;
  AppendEscapedLabelValue(help, "\\\"\n");
  EXPECT_EQ(help, "\\\\\\\"\\n");
}

TEST(MetricsFormat, SpecialValuesUseTheFormatsWords) {
  const std::pair<double, const char*> cases[] = {
      {NAN, "NaN"}, {INFINITY, "+Inf"}, {-INFINITY, "-Inf"}, {-0.5, "-0.5"}, {1e300, "1e+300"}, {0.1, "0.1"}};
  for (const auto& [value, text] : cases) {
    std::string out;
    AppendSampleValue(out, value);
    EXPECT_EQ(out, text);
  }
}

TEST(MetricsFormat, SamplesOfOneMetricStayTogetherAndDuplicatesGoOnce) {
  // Shared-memory order interleaves the types; a duplicate identifier (the
  // second 0x1000000 temperature) must not make a second series.
  const std::string text = Format(WithReadings({
      Reading(SENSOR_TYPE_TEMP, "\xC2\xB0" "C", 40, 0x1000000),
      Reading(SENSOR_TYPE_CLOCK, "MHz", 4000, 0x2000000),
      Reading(SENSOR_TYPE_TEMP, "\xC2\xB0" "C", 41, 0x1000001, "Core 1"),
      Reading(SENSOR_TYPE_TEMP, "\xC2\xB0" "F", 104, 0x1000002, "Core 2"),
      Reading(SENSOR_TYPE_TEMP, "\xC2\xB0" "C", 99, 0x1000000),
  }));
  std::set<std::string> closed;
  std::string current;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("# TYPE ", 0) == 0) {
      const std::string name = line.substr(7, line.find(' ', 7) - 7);
      EXPECT_TRUE(closed.insert(name).second) << "second TYPE for " << name;
      current = name;
    } else if (line[0] != '#') {
      EXPECT_EQ(line.substr(0, line.find_first_of("{ ")), current) << line;
    }
  }
  const auto temps = Samples(text, "quendal_hwinfo_temperature_celsius");
  ASSERT_EQ(temps.size(), 3u);
  EXPECT_NE(temps[0].find("} 40"), std::string::npos) << "the first of two equal identifiers wins";
}

TEST(MetricsFormat, StatusAgeBuildAndSystemFigures) {
  TQD_MetricsSnapshot s = WithReadings({}, 1000);
  s.HWiPollStatus = 254;  // the readings stay those of the last good poll
  auto system = std::make_shared<TQD_MetricsSystem>();
  system->PollStatus = 0;
  system->RAM.Total = 17179869184ull;
  system->RAM.Available = 8589934592ull;
  system->Drives = {{true, 0, "C:\\", "System", 500, 200, 300}, {false, 1, "D:\\", "", -1, -1, 0}};
  system->Interfaces = {{"Ethernet \"1\"", "{00112233-4455-6677-8899-AABBCCDDEEFF}", 18446744073709551615ull, 5}};
  s.System = system;
  const std::string text = Format(s, 3500);

  EXPECT_EQ(Samples(text, "quendal_hwinfo_poll_status"), std::vector<std::string>{"quendal_hwinfo_poll_status 254"});
  EXPECT_EQ(Samples(text, "quendal_hwinfo_last_poll_age_seconds"),
            std::vector<std::string>{"quendal_hwinfo_last_poll_age_seconds 2.5"});
  EXPECT_EQ(Samples(text, "quendal_build_info"), std::vector<std::string>{"quendal_build_info{version=\"0.1\"} 1"});
  EXPECT_EQ(Samples(text, "quendal_memory_total_bytes"),
            std::vector<std::string>{"quendal_memory_total_bytes 17179869184"});
  // The drive without a medium has no figures rather than -1.
  EXPECT_EQ(Samples(text, "quendal_logical_drive_free_bytes"),
            std::vector<std::string>{"quendal_logical_drive_free_bytes{drive=\"C:\\\\\",volume=\"System\"} 200"});
  EXPECT_NE(text.find("# TYPE quendal_network_receive_bytes_total counter\n"), std::string::npos);
  EXPECT_EQ(Samples(text, "quendal_network_transmit_bytes_total"),
            std::vector<std::string>{"quendal_network_transmit_bytes_total{interface=\"Ethernet \\\"1\\\"\","
                                     "guid=\"{00112233-4455-6677-8899-AABBCCDDEEFF}\"} 5"});
  EXPECT_EQ(Samples(text, "quendal_network_receive_bytes_total").at(0).substr(
                Samples(text, "quendal_network_receive_bytes_total").at(0).rfind(' ') + 1),
            "18446744073709551616");

  // Never a good poll: no readings, and an age no alert threshold misses.
  TQD_MetricsSnapshot never;
  EXPECT_EQ(Samples(Format(never), "quendal_hwinfo_last_poll_age_seconds"),
            std::vector<std::string>{"quendal_hwinfo_last_poll_age_seconds +Inf"});
  EXPECT_EQ(Samples(Format(never), "quendal_hwinfo_poll_status"),
            std::vector<std::string>{"quendal_hwinfo_poll_status 1"});
}

}  // namespace
