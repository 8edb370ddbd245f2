// Turns a metrics snapshot into the text exposition format (version 0.0.4)
// that Prometheus scrapes. Every HWiNFO reading becomes one gauge sample; its
// metric name says the reading type and, where the unit is known, the base
// unit the value was converted to (celsius, watts, hertz, usage as a ratio).
// Samples of one metric stay together, as the format asks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "metrics/metrics_snapshot.h"

inline constexpr char QD_MetricsContentType[] = "text/plain; version=0.0.4; charset=utf-8";

// The metric a reading of type AType with HWiNFO unit text AUnit goes to, and
// how its value is converted: (value + Offset) * Mul / Div.
struct TQD_ReadingMetric {
  std::string Name;
  double Offset = 0;
  double Mul = 1;
  double Div = 1;
  std::string_view BaseUnit;  // what the value is in after conversion; empty: HWiNFO's unit
  double Convert(double AValue) const { return (AValue + Offset) * Mul / Div; }
};
TQD_ReadingMetric ReadingMetric(uint32_t AType, std::string_view AUnit);

// The whole exposition text of ASnapshot, as scraped at ANowMs (the clock of
// MetricsClockMs). AOut is replaced.
void FormatMetrics(const TQD_MetricsSnapshot& ASnapshot, int64_t ANowMs, std::string& AOut);

// A label value with backslash, double quote and line feed escaped.
void AppendEscapedLabelValue(std::string& AOut, std::string_view AValue);
// A sample value: shortest round-trip text, NaN, +Inf or -Inf.
void AppendSampleValue(std::string& AOut, double AValue);
