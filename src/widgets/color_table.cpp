// The colour table; see color_table.h.
#include "widgets/color_table.h"

#include <cerrno>
#include <cmath>
#include <cstdio>

#include "settings/file_io.h"

// constinit: tables built during static initialisation elsewhere may copy it.
constinit const TQD_ColorTranslationTable DefaultTranslationTable = {{
    {"Intel_Blue", 0xFF007DC3u, ctgVendor, "Intel blue"},  // 0
    {"Intel_Blue_Dark", 0xFF001927u, ctgVendor, "Intel blue dark"},  // 1
    {"Intel_Red", 0xFFF05133u, ctgVendor, "Intel red"},  // 2
    {"AMD_Red", 0xFFED1C24u, ctgVendor, "AMD red"},  // 3
    {"AMD_Red_Dark", 0xFF2F0507u, ctgVendor, "AMD red dark"},  // 4
    {"NVIDIA_Green", 0xFF76B900u, ctgVendor, "NVIDIA green"},  // 5
    {"NVIDIA_Green_Dark", 0xFF233700u, ctgVendor, "NVIDIA green dark"},  // 6
    {"TX_Color_Default", 0xFFFFFFFFu, ctgText, "Text standard"},  // 7
    {"TX_Color_Dark", 0xFF7F7F7Fu, ctgText, "Text dark"},  // 8
    {"TX_Color_Darker", 0xFF3F3F3Fu, ctgText, "Text darker"},  // 9
    {"TX_Color_Darkest", 0xFF000000u, ctgText, "Text darkest"},  // 10
    {"TX_Color_Power", 0xFFFFA500u, ctgText, "Text power"},  // 11
    {"TX_Color_Voltage", 0xFFADD8E6u, ctgText, "Text voltage"},  // 12
    {"TX_Color_Error", 0xFFFFFF00u, ctgText, "Text error"},  // 13
    {"TX_BGColor_Default", 0x7F000000u, ctgText, "Text background standard"},  // 14
    {"TX_BGColor_Lighter", 0x7F7F7F7Fu, ctgText, "Text background lighter"},  // 15
    {"TX_BGColor_Light", 0x7FD3D3D3u, ctgText, "Text background light"},  // 16
    {"TX_BGColor_Dark", 0xB0000000u, ctgText, "Text background dark"},  // 17
    {"DV_BkGrLoColor_Str", 0xFF000000u, ctgDivider, "Divider background start"},  // 18
    {"DV_BkGrHiColor_Str", 0xFF3F3F3Fu, ctgDivider, "Divider background end"},  // 19
    {"DV_BkGrLoColor_Alt", 0xFF000000u, ctgDivider, "Divider alternative background start"},  // 20
    {"DV_BkGrHiColor_Alt", 0xFFFFFFFFu, ctgDivider, "Divider alternative background end"},  // 21
    {"GA_NoUsageLoColor_Default", 0xFF000000u, ctgGauge, "Gauge background standard start"},  // 22
    {"GA_NoUsageHiColor_Default", 0xFF004040u, ctgGauge, "Gauge background standard end"},  // 23
    {"GA_UsageLoColor_Default", 0xFFFFA500u, ctgGauge, "Gauge foreground standard start"},  // 24
    {"GA_UsageHiColor_Default", 0xFFFFFF00u, ctgGauge, "Gauge foreground standard end"},  // 25
    {"GA_UsageLoColor_Power", 0xFFBF5700u, ctgGauge, "Gauge foreground power start"},  // 26
    {"GA_UsageHiColor_Power", 0xFFFFA500u, ctgGauge, "Gauge foreground power end"},  // 27
    {"GA_UsageLoColor_RAM", 0xFF808080u, ctgGauge, "Gauge foreground RAM start"},  // 28
    {"GA_UsageHiColor_RAM", 0xFFFFFFFFu, ctgGauge, "Gauge foreground RAM end"},  // 29
    {"GA_UsageLoColor_Fan", 0xFF653024u, ctgGauge, "Gauge foreground fan start"},  // 30
    {"GA_UsageHiColor_Fan", 0xFFE7CEB5u, ctgGauge, "Gauge foreground fan end"},  // 31
    {"GA_NoUsageLoColor_PCore", 0xFF000000u, ctgGauge, "Gauge background P-core start"},  // 32
    {"GA_NoUsageHiColor_PCore", 0xFF800000u, ctgGauge, "Gauge background P-core end"},  // 33
    {"GA_UsageLoColor_PCore", 0xFF004000u, ctgGauge, "Gauge foreground P-core usage start"},  // 34
    {"GA_UsageHiColor_PCore", 0xFF00FF00u, ctgGauge, "Gauge foreground P-core usage end"},  // 35
    {"GA_NoUsageLoColor_ECore", 0xFF000000u, ctgGauge, "Gauge background E-core start"},  // 36
    {"GA_NoUsageHiColor_ECore", 0xFF000080u, ctgGauge, "Gauge background E-core end"},  // 37
    {"GA_UsageLoColor_ECore", 0xFFBF5700u, ctgGauge, "Gauge foreground E-core usage start"},  // 38
    {"GA_UsageHiColor_ECore", 0xFFFFA500u, ctgGauge, "Gauge foreground E-core usage end"},  // 39
    {"GA_UsageLoColor_DiskRead", 0xFF88878Au, ctgGauge, "Gauge foreground disk read start"},  // 40
    {"GA_UsageHiColor_DiskRead", 0xFFFFFFFFu, ctgGauge, "Gauge foreground disk read end"},  // 41
    {"GA_UsageLoColor_DiskWrite", 0xFFBF876Fu, ctgGauge, "Gauge foreground disk write start"},  // 42
    {"GA_UsageHiColor_DiskWrite", 0xFFFFFFFFu, ctgGauge, "Gauge foreground disk write end"},  // 43
    {"LB_BkGrLoColor_Default", 0xFF000000u, ctgLabel, "Label background standard start"},  // 44
    {"LB_BkGrMidColor_Default", 0xFF000000u, ctgLabel, "Label background standard mid"},  // 45
    {"LB_BkGrHiColor_Default", 0xFF303030u, ctgLabel, "Label background standard end"},  // 46
    {"LB_BkGrLoColor_Dark", 0xFF000000u, ctgLabel, "Label background dark start"},  // 47
    {"LB_BkGrHiColor_Dark", 0xFF202020u, ctgLabel, "Label background dark end"},  // 48
    {"LB_BkGrLoColor_Black", 0xFF000000u, ctgLabel, "Label background black start"},  // 49
    {"LB_BkGrHiColor_Black", 0xFF000000u, ctgLabel, "Label background black end"},  // 50
    {"LB_BkGrLoColor_Clock", 0xFF000020u, ctgLabel, "Label background clock start"},  // 51
    {"LB_BkGrHiColor_Clock", 0xFF5F4B8Bu, ctgLabel, "Label background clock end"},  // 52
    {"LB_BkGrLoColor_Date", 0xFF000020u, ctgLabel, "Label background date start"},  // 53
    {"LB_BkGrHiColor_Date", 0xFF482034u, ctgLabel, "Label background date end"},  // 54
    {"LB_PCoreLoColor_Dark", 0xFF000000u, ctgLabel, "Label background P-core start"},  // 55
    {"LB_PCoreHiColor_Dark", 0xFF590000u, ctgLabel, "Label background P-core end"},  // 56
    {"LB_ECoreLoColor_Dark", 0xFF000000u, ctgLabel, "Label background E-core start"},  // 57
    {"LB_ECoreHiColor_Dark", 0xFF000059u, ctgLabel, "Label background E-core end"},  // 58
    {"LB_BkGrLoColor_Drives", 0xFF88878Au, ctgLabel, "Label background drive start"},  // 59
    {"LB_BkGrMidColor_Drives", 0xFF000000u, ctgLabel, "Label background drive mid"},  // 60
    {"LB_BkGrHiColor_Drives", 0xFFBF876Fu, ctgLabel, "Label background drive end"},  // 61
    {"LB_BkGrLoColor_Network", 0xFFAE8625u, ctgLabel, "Label background network start"},  // 62
    {"LB_BkGrMidColor_Network", 0xFFF7EF8Au, ctgLabel, "Label background network mid"},  // 63
    {"LB_BkGrHiColor_Network", 0xFFEDC967u, ctgLabel, "Label background network end"},  // 64
    {"LB_BkGrLoColor_Error", 0xFF000000u, ctgLabel, "Label background error start"},  // 65
    {"LB_BkGrHiColor_Error", 0xFF004040u, ctgLabel, "Label background error end"},  // 66
    {"LB_TempGradientStop0", 0xFF00007Fu, ctgTemp, "Temperature gradient stop 0 (coldest)"},  // 67
    {"LB_TempGradientStop1", 0xFF00007Fu, ctgTemp, "Temperature gradient stop 1"},  // 68
    {"LB_TempGradientStop2", 0xFF00FFFFu, ctgTemp, "Temperature gradient stop 2"},  // 69
    {"LB_TempGradientStop3", 0xFF00FFFFu, ctgTemp, "Temperature gradient stop 3"},  // 70
    {"LB_TempGradientStop4", 0xFF00FF00u, ctgTemp, "Temperature gradient stop 4"},  // 71
    {"LB_TempGradientStop5", 0xFF00FF00u, ctgTemp, "Temperature gradient stop 5"},  // 72
    {"LB_TempGradientStop6", 0xFF00FF00u, ctgTemp, "Temperature gradient stop 6"},  // 73
    {"LB_TempGradientStop7", 0xFFFFA500u, ctgTemp, "Temperature gradient stop 7"},  // 74
    {"LB_TempGradientStop8", 0xFFFFA500u, ctgTemp, "Temperature gradient stop 8"},  // 75
    {"LB_TempGradientStop9", 0xFFFF0000u, ctgTemp, "Temperature gradient stop 9"},  // 76
    {"LB_TempGradientStop10", 0xFFFF0000u, ctgTemp, "Temperature gradient stop 10 (warmest)"},  // 77
    {"LG_NoUsageLoColor_Default", 0xFF000000u, ctgLinegraph, "Linegraph background standard start"},  // 78
    {"LG_NoUsageHiColor_Default", 0xFF1D1E33u, ctgLinegraph, "Linegraph background standard end"},  // 79
    {"LG_UsageLoColor_Default", 0x7F000000u, ctgLinegraph, "Linegraph filling standard start"},  // 80
    {"LG_UsageLoColor_Clockspeed", 0xFF7F7F7Fu, ctgLinegraph, "Linegraph filling clock speed end"},  // 81
    {"LG_UsageHiColor_Clockspeed", 0xFFFFFFFFu, ctgLinegraph, "Linegraph line clock speed"},  // 82
    {"LG_UsageLoColor_Voltage", 0xFF566C73u, ctgLinegraph, "Linegraph filling voltage end"},  // 83
    {"LG_UsageHiColor_Voltage", 0xFFADD8E6u, ctgLinegraph, "Linegraph line voltage"},  // 84
    {"NG_NoUsageLoColor_Upload", 0xFF000000u, ctgNetgraph, "Netgraph background upload start"},  // 85
    {"NG_NoUsageHiColor_Upload", 0xFF1D1E33u, ctgNetgraph, "Netgraph background upload end"},  // 86
    {"NG_NoUsageLoColor_Download", 0xFF000000u, ctgNetgraph, "Netgraph background download start"},  // 87
    {"NG_NoUsageHiColor_Download", 0xFF1D1E33u, ctgNetgraph, "Netgraph background download end"},  // 88
    {"NG_UsageLoColor_Upload", 0x7F003000u, ctgNetgraph, "Netgraph filling upload start"},  // 89
    {"NG_UsageHiColor_Upload", 0x7F00D000u, ctgNetgraph, "Netgraph filling upload end"},  // 90
    {"NG_UsageLineColor_Upload", 0xFF00FF00u, ctgNetgraph, "Netgraph line upload"},  // 91
    {"NG_UsageLoColor_Download", 0x7F300000u, ctgNetgraph, "Netgraph filling download start"},  // 92
    {"NG_UsageHiColor_Download", 0x7FD00000u, ctgNetgraph, "Netgraph filling download end"},  // 93
    {"NG_UsageLineColor_Download", 0xFFFF0000u, ctgNetgraph, "Netgraph line download"},  // 94
    {"NG_TextColorUpload", 0xFF00FF00u, ctgNetgraph, "Netgraph text upload"},  // 95
    {"NG_TextBGColorUpload", 0x7F000000u, ctgNetgraph, "Netgraph text background upload"},  // 96
    {"NG_TextColorDownload", 0xFFFF0000u, ctgNetgraph, "Netgraph text download"},  // 97
    {"NG_TextBGColorDownload", 0x7F000000u, ctgNetgraph, "Netgraph text background download"},  // 98
    {"NG_TextColorDisabled", 0xFF7F7F7Fu, ctgNetgraph, "Netgraph text disabled"},  // 99
    {"NG_TextBGColorDisabled", 0x7F000000u, ctgNetgraph, "Netgraph text background disabled"},  // 100
    {"NG_TextColorMaxValue", 0xFFFFFFFFu, ctgNetgraph, "Netgraph text max value"},  // 101
    {"NG_TextBGColorMaxValue", 0x7F000000u, ctgNetgraph, "Netgraph text background max value"},  // 102
    {"NG_MaxValueBG", 0xFF202020u, ctgNetgraph, "Netgraph max value background"},  // 103
}};

std::string ColorToText(TColor32 AColor) {
  char text[16];
  std::snprintf(text, sizeof text, "#%08X", static_cast<unsigned>(AColor));
  return text;
}

TColor32 TextToColor(std::string_view AText) {
  if (AText.size() != 9 || AText[0] != '#') return clFallback32;
  TColor32 color = 0;
  for (char c : AText.substr(1)) {
    unsigned digit;
    if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
    else if (c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
    else if (c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
    else return clFallback32;
    color = color << 4 | digit;
  }
  return color;
}

TQD_ColorTable::TQD_ColorTable() { ResetToDefault(); }

void TQD_ColorTable::Assign(const TQD_ColorTable& ASource) {
  FTranslationTable = ASource.FTranslationTable;
  FTemperatureGradientTable = ASource.FTemperatureGradientTable;
}

int TQD_ColorTable::IndexOf(std::string_view AName) const {
  for (int i = 0; i < QD_ColorTableCount; ++i)
    if (FTranslationTable[static_cast<size_t>(i)].Name == AName) return i;
  return -1;
}

TColor32 TQD_ColorTable::GetColor(std::string_view AName) const { return GetColor(IndexOf(AName)); }

TColor32 TQD_ColorTable::GetColor(int AIndex) const {
  if (AIndex < 0 || AIndex >= QD_ColorTableCount) return clFallback32;
  return FTranslationTable[static_cast<size_t>(AIndex)].Color;
}

bool TQD_ColorTable::SetColor(std::string_view AName, TColor32 AColor) { return SetColor(IndexOf(AName), AColor); }

bool TQD_ColorTable::SetColor(int AIndex, TColor32 AColor) {
  if (AIndex < 0 || AIndex >= QD_ColorTableCount) return false;
  auto& entry = FTranslationTable[static_cast<size_t>(AIndex)];
  entry.Color = AColor;
  if (entry.Group == ctgTemp) RefreshGradient();
  return true;
}

void TQD_ColorTable::ResetToDefault() {
  FTranslationTable = DefaultTranslationTable;
  RefreshGradient();
}

bool TQD_ColorTable::ResetToDefault(std::string_view AName) {
  const int index = IndexOf(AName);
  if (index < 0) return false;
  return SetColor(index, DefaultTranslationTable[static_cast<size_t>(index)].Color);
}

void TQD_ColorTable::RefreshGradient() {
  for (int i = 0; i < QD_TemperatureGradientCount; ++i)
    FTemperatureGradientTable[static_cast<size_t>(i)] = GetColor("LB_TempGradientStop" + std::to_string(i));
}

int TQD_ColorTable::GetTemperatureColorIdx(double ATemperature, double AThreshold) {
  double t = ATemperature;
  if (t > AThreshold) t = AThreshold;
  if (t < 0) t = 0;
  const double q = AThreshold == 0 ? 0.001 : t / AThreshold;
  // Evaluated in this order on purpose: 0.25 * 100 * 0.1 is exactly 2.5 and
  // rounds to 2, 0.35 * 100 * 0.1 to 4 (nearest, halves to even).
  const double stop = std::nearbyint(q * 100 * 0.1);
  // A reading of NaN or a non-finite threshold has no place on the scale: coldest stop.
  if (!(stop >= 0)) return 0;
  return stop > 10 ? 10 : static_cast<int>(stop);
}

TColor32 TQD_ColorTable::GetTemperatureColor(double ATemperature, double AThreshold) const {
  return FTemperatureGradientTable[static_cast<size_t>(GetTemperatureColorIdx(ATemperature, AThreshold))];
}

void TQD_ColorTable::ReadFromRegistry(TQD_KeyValueStore& AStore) {
  for (size_t i = 0; i < FTranslationTable.size(); ++i) {
    auto& entry = FTranslationTable[i];
    const std::string name(entry.Name);
    // A missing value, a value of another type and a key that cannot be
    // opened all leave the default colour.
    std::string text = ColorToText(DefaultTranslationTable[i].Color);
    if (auto stored = RegTryReadString(AStore, QD_ColorsKey, name)) text = std::move(*stored);
    entry.Color = TextToColor(text);
  }
  RefreshGradient();
}

void TQD_ColorTable::WriteToRegistry(TQD_KeyValueStore& AStore) const {
  for (const auto& entry : FTranslationTable)
    RegWriteString(AStore, QD_ColorsKey, std::string(entry.Name), ColorToText(entry.Color));
}

int TQD_ColorTable::ExportToFile(const std::string& AFilename) const {
  // Binary mode: the CR LF line ends are written as they are on every system.
  TQD_File file = OpenFileUtf8(AFilename, "wb");
  if (!file) throw TQD_FileError(AFilename, "create", ErrnoReason(errno));
  int result = QD_ColorTableCount;
  for (const auto& entry : FTranslationTable) {
    std::string text = "// ";
    text += entry.Description;
    text += "\r\n";
    text += entry.Name;
    text += "=" + ColorToText(entry.Color) + "\r\n\r\n";
    // Flushing each entry makes a failed write show on that entry; the rest are still tried.
    if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size() || std::fflush(file.get()) != 0) {
      result = -1;
      std::clearerr(file.get());
    }
  }
  if (std::fclose(file.release()) != 0) result = -1;
  return result;
}

namespace {

// Applies one line of a colour file; true when it set a known entry.
bool ImportLine(TQD_ColorTable& ATable, std::string_view ALine) {
  if (ALine.empty() || ALine[0] == '/') return false;  // blank or comment
  const size_t eq = ALine.find('=');
  if (eq == std::string_view::npos || ALine.find('=', eq + 1) != std::string_view::npos) return false;
  // The name is taken as it is: "Name =" matches nothing, as no name ends in a blank.
  return ATable.SetColor(ALine.substr(0, eq), TextToColor(ALine.substr(eq + 1)));
}

}  // namespace

int TQD_ColorTable::ImportFromFile(const std::string& AFilename) {
  TQD_File file = OpenFileUtf8(AFilename, "rb");
  if (!file) throw TQD_FileError(AFilename, "open", ErrnoReason(errno));
  int count = 0;
  std::string line;
  bool firstLine = true;
  auto finishLine = [&] {
    // An editor's UTF-8 byte order mark would otherwise hide the first line's name.
    if (firstLine && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
    firstLine = false;
    if (ImportLine(*this, line)) ++count;
    line.clear();
  };
  // Lines end in CR LF, LF or a lone CR.
  for (int c = std::getc(file.get()); c != EOF; c = std::getc(file.get())) {
    if (c == '\r' || c == '\n') {
      finishLine();
      if (c == '\r') {
        int next = std::getc(file.get());
        if (next != '\n' && next != EOF) std::ungetc(next, file.get());
      }
    } else {
      line += static_cast<char>(c);
    }
  }
  if (std::ferror(file.get())) throw TQD_FileError(AFilename, "read", ErrnoReason(errno));
  if (!line.empty()) finishLine();
  return count;
}
