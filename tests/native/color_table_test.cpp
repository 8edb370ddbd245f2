// The colour table: lookups, gradient stops, temperature index, the store and colour files.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "widgets/color_table.h"
#include "settings/file_io.h"
#include "settings/memory_key_value_store.h"

namespace {

std::string TempPath(const std::string& AName) {
  return (std::filesystem::path(::testing::TempDir()) / ("quendal_" + AName)).string();
}

void WriteFile(const std::string& APath, const std::string& AContent) {
  std::ofstream(APath, std::ios::binary) << AContent;
}

std::string ReadFile(const std::string& APath) {
  std::ifstream in(APath, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool SameColors(const TQD_ColorTable& A, const TQD_ColorTable& B) {
  for (int i = 0; i < QD_ColorTableCount; ++i)
    if (A.GetColor(i) != B.GetColor(i)) return false;
  return A.TemperatureGradientTable() == B.TemperatureGradientTable();
}

// Every entry a different colour from its default.
void Scramble(TQD_ColorTable& ATable) {
  for (int i = 0; i < QD_ColorTableCount; ++i) ATable.SetColor(i, 0x01020304u * static_cast<uint32_t>(i + 1) ^ 0x80000000u);
}

TEST(ColorTable, DefaultTableIsFixedByIndex) {
  const auto& t = DefaultTranslationTable;
  std::set<std::string_view> names;
  for (const auto& e : t) EXPECT_TRUE(names.insert(e.Name).second) << e.Name;
  EXPECT_EQ(t[0].Name, "Intel_Blue");
  EXPECT_EQ(t[0].Color, 0xFF007DC3u);
  EXPECT_EQ(t[14].Name, "TX_BGColor_Default");
  EXPECT_EQ(t[14].Color, 0x7F000000u);
  EXPECT_EQ(t[52].Description, "Label background clock end");
  EXPECT_EQ(t[81].Group, ctgLinegraph);
  EXPECT_EQ(t[103].Name, "NG_MaxValueBG");
  EXPECT_EQ(t[103].Color, 0xFF202020u);
  // The gradient stops are exactly the ctgTemp entries 67..77, in order.
  for (int i = 0; i < QD_ColorTableCount; ++i) {
    const bool stop = i >= 67 && i <= 77;
    EXPECT_EQ(t[static_cast<size_t>(i)].Group == ctgTemp, stop) << i;
    if (stop) {
      EXPECT_EQ(t[static_cast<size_t>(i)].Name, "LB_TempGradientStop" + std::to_string(i - 67));
    }
  }
  TQD_ColorTable table;
  EXPECT_EQ(table.TemperatureGradientTable()[0], 0xFF00007Fu);
  EXPECT_EQ(table.TemperatureGradientTable()[7], 0xFFFFA500u);
  EXPECT_EQ(table.TemperatureGradientTable()[10], 0xFFFF0000u);
}

TEST(ColorTable, LookupsAreExactAndFallBackToMagenta) {
  TQD_ColorTable table;
  EXPECT_EQ(table.GetColor("Intel_Blue"), 0xFF007DC3u);
  EXPECT_EQ(table.GetColor("intel_blue"), clFallback32);
  EXPECT_EQ(table.GetColor("Intel_Blue "), clFallback32);
  EXPECT_EQ(table.GetColor(""), clFallback32);
  EXPECT_EQ(table.GetColor(103), 0xFF202020u);
  EXPECT_EQ(table.GetColor(104), clFallback32);
  EXPECT_EQ(table.GetColor(-1), clFallback32);

  TQD_ColorTable untouched;
  EXPECT_FALSE(table.SetColor("intel_blue", 0x12345678u));
  EXPECT_FALSE(table.SetColor(104, 0x12345678u));
  EXPECT_FALSE(table.SetColor(-1, 0x12345678u));
  EXPECT_FALSE(table.ResetToDefault("NoSuchColor"));
  EXPECT_TRUE(SameColors(table, untouched));

  EXPECT_TRUE(table.SetColor("AMD_Red", 0x11223344u));
  EXPECT_TRUE(table.SetColor(4, 0x55667788u));
  EXPECT_EQ(table.GetColor(3), 0x11223344u);
  EXPECT_EQ(table.GetColor("AMD_Red_Dark"), 0x55667788u);
  EXPECT_TRUE(table.ResetToDefault("AMD_Red"));
  EXPECT_EQ(table.GetColor("AMD_Red"), 0xFFED1C24u);
  EXPECT_EQ(table.GetColor("AMD_Red_Dark"), 0x55667788u);
}

TEST(ColorTable, GradientFollowsEveryChangeOfAStop) {
  TQD_ColorTable table;
  const auto gradient = table.TemperatureGradientTable();
  table.SetColor("TX_Color_Default", 0x01010101u);
  EXPECT_EQ(table.TemperatureGradientTable(), gradient);

  table.SetColor("LB_TempGradientStop3", 0xFF123456u);
  EXPECT_EQ(table.TemperatureGradientTable()[3], 0xFF123456u);
  table.SetColor(77, 0xFF654321u);  // stop 10 by index
  EXPECT_EQ(table.TemperatureGradientTable()[10], 0xFF654321u);
  EXPECT_EQ(table.GetTemperatureColor(500, 100), 0xFF654321u);

  table.ResetToDefault("LB_TempGradientStop3");
  EXPECT_EQ(table.TemperatureGradientTable()[3], 0xFF00FFFFu);
  table.ResetToDefault();
  EXPECT_EQ(table.TemperatureGradientTable(), gradient);
  EXPECT_EQ(table.GetColor("TX_Color_Default"), 0xFFFFFFFFu);
}

TEST(ColorTable, AssignCopiesColoursAndGradient) {
  TQD_ColorTable source;
  Scramble(source);
  TQD_ColorTable copy;
  copy.Assign(source);
  EXPECT_TRUE(SameColors(copy, source));
  EXPECT_EQ(copy.TemperatureGradientTable()[5], source.GetColor("LB_TempGradientStop5"));
}

TEST(ColorTable, TemperatureIndexRoundsHalvesToEven) {
  struct {
    double Temperature, Threshold;
    int Index;
  } cases[] = {
      {50, 100, 5}, {25, 100, 2}, {35, 100, 4}, {45, 100, 4}, {65, 100, 6}, {55, 100, 6},
      {-10, 100, 0}, {0, 100, 0}, {4.9, 100, 0}, {5.1, 100, 1}, {100, 100, 10}, {250, 100, 10},
      {94.9, 100, 9}, {95.1, 100, 10}, {42.5, 85, 5}, {50, 0, 0}, {-5, 0, 0}, {80, -20, 0},
      {NAN, 100, 0}, {INFINITY, 100, 10}, {-INFINITY, 100, 0}, {50, NAN, 0}, {50, INFINITY, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TQD_ColorTable::GetTemperatureColorIdx(c.Temperature, c.Threshold), c.Index)
        << c.Temperature << " of " << c.Threshold;
  TQD_ColorTable table;
  EXPECT_EQ(table.GetTemperatureColor(35, 100), table.TemperatureGradientTable()[4]);
  EXPECT_EQ(table.GetTemperatureColor(-1, 0), 0xFF00007Fu);
}

TEST(ColorTable, ColourTextConversions) {
  EXPECT_EQ(ColorToText(0xFF007DC3u), "#FF007DC3");
  EXPECT_EQ(ColorToText(0x0000000Au), "#0000000A");
  EXPECT_EQ(TextToColor("#FF007DC3"), 0xFF007DC3u);
  EXPECT_EQ(TextToColor("#ff102030"), 0xFF102030u);
  EXPECT_EQ(TextToColor("#00000000"), 0u);
  for (const char* bad : {"", "#", "#12345", "FF007DC3", "#FF007DC", "#FF007DC30", "#FF007DCG", "#FF 07DC3",
                          "$FF007DC3", "#0x007DC3"})
    EXPECT_EQ(TextToColor(bad), clFallback32) << bad;
}

TEST(ColorTable, StoreRoundTripAndFallbacks) {
  TQD_MemoryKeyValueStore store;
  TQD_ColorTable saved;
  Scramble(saved);
  saved.WriteToRegistry(store);
  EXPECT_EQ(store.ValueNames(QD_ColorsKey).size(), 104u);
  auto raw = store.RawValue(QD_ColorsKey, "Intel_Blue");
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->Type, TQD_MemoryValueType::String);
  EXPECT_EQ(raw->Data, ColorToText(saved.GetColor("Intel_Blue")));

  TQD_ColorTable loaded;
  loaded.ReadFromRegistry(store);
  EXPECT_TRUE(SameColors(loaded, saved));

  // Missing and wrongly typed values give the default, malformed ones magenta.
  RegDeleteValue(store, QD_ColorsKey, "AMD_Red");
  store.SetRawValue(QD_ColorsKey, "Intel_Red", TQD_MemoryValue::FromDWord(0xFF000000u));
  RegWriteString(store, QD_ColorsKey, "LB_TempGradientStop2", "#12345");
  loaded.ReadFromRegistry(store);
  EXPECT_EQ(loaded.GetColor("AMD_Red"), 0xFFED1C24u);
  EXPECT_EQ(loaded.GetColor("Intel_Red"), 0xFFF05133u);
  EXPECT_EQ(loaded.GetColor("LB_TempGradientStop2"), clFallback32);
  EXPECT_EQ(loaded.TemperatureGradientTable()[2], clFallback32);
  EXPECT_EQ(loaded.GetColor("Intel_Blue"), saved.GetColor("Intel_Blue"));

  // A key that cannot be opened: every colour at its default, nothing written.
  store.SetKeyLocked(QD_ColorsKey, true);
  loaded.ReadFromRegistry(store);
  EXPECT_TRUE(SameColors(loaded, TQD_ColorTable()));
  TQD_ColorTable other;
  other.SetColor("Intel_Blue", 0x01020304u);
  other.WriteToRegistry(store);
  store.SetKeyLocked(QD_ColorsKey, false);
  EXPECT_EQ(RegReadString(store, QD_ColorsKey, "Intel_Blue", ""), ColorToText(saved.GetColor("Intel_Blue")));
}

TEST(ColorFile, ExportWritesThreeAsciiLinesPerEntry) {
  const std::string path = TempPath("export.txt");
  TQD_ColorTable table;
  ASSERT_EQ(table.ExportToFile(path), 104);
  const std::string text = ReadFile(path);
  EXPECT_EQ(text.rfind("// Intel blue\r\nIntel_Blue=#FF007DC3\r\n\r\n// Intel blue dark\r\n", 0), 0u);
  const std::string tail = "// Netgraph max value background\r\nNG_MaxValueBG=#FF202020\r\n\r\n";
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  size_t crlf = 0, lf = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    EXPECT_LT(static_cast<unsigned char>(text[i]), 0x80u);
    if (text[i] == '\n') ++lf, crlf += i > 0 && text[i - 1] == '\r';
  }
  EXPECT_EQ(lf, 312u);
  EXPECT_EQ(crlf, 312u);
  std::filesystem::remove(path);
}

TEST(ColorFile, ExportThenImportReproducesEveryColour) {
  const std::string path = TempPath("roundtrip.txt");
  TQD_ColorTable saved;
  Scramble(saved);
  ASSERT_EQ(saved.ExportToFile(path), 104);
  TQD_ColorTable loaded;
  EXPECT_EQ(loaded.ImportFromFile(path), 104);
  EXPECT_TRUE(SameColors(loaded, saved));
  std::filesystem::remove(path);
}

TEST(ColorFile, ImportAppliesOnlyWellFormedLinesOfKnownNames) {
  const std::string path = TempPath("rules.txt");
  WriteFile(path,
            "\xEF\xBB\xBFIntel_Blue=#01020304\r\n"  // byte order mark of an editor
            "// TX_Color_Power=#00000000\r\n"
            "/TX_Color_Voltage=#00000000\r\n"
            "\r\n"
            "TX_Color_Default=#ff102030\r\n"
            "TX_Color_Dark=\n"                  // no colour: magenta, and it counts
            "TX_Color_Darker =#00000001\n"      // no name ends in a blank
            " TX_Color_Darkest=#00000001\n"
            "TX_Color_Error=#00000001=#00000002\n"
            "TX_BGColor_Light\n"
            "Unknown_Name=#00000001\r"          // a lone CR ends a line too
            "tx_bgcolor_dark=#00000001\r"
            "AMD_Red=#0000000Z\r\n"             // bad digits: magenta, counts
            "LB_TempGradientStop4=#11111111\r\n"
            "LB_TempGradientStop4=#22222222\r\n"  // the later line wins
            "NG_MaxValueBG=#33333333");         // no line end at the end
  TQD_ColorTable table;
  EXPECT_EQ(table.ImportFromFile(path), 7);
  TQD_ColorTable defaults;
  EXPECT_EQ(table.GetColor("Intel_Blue"), 0x01020304u);
  EXPECT_EQ(table.GetColor("TX_Color_Default"), 0xFF102030u);
  EXPECT_EQ(table.GetColor("TX_Color_Dark"), clFallback32);
  EXPECT_EQ(table.GetColor("AMD_Red"), clFallback32);
  EXPECT_EQ(table.GetColor("LB_TempGradientStop4"), 0x22222222u);
  EXPECT_EQ(table.TemperatureGradientTable()[4], 0x22222222u);
  EXPECT_EQ(table.GetColor("NG_MaxValueBG"), 0x33333333u);
  for (const char* same : {"TX_Color_Power", "TX_Color_Voltage", "TX_Color_Darker", "TX_Color_Darkest",
                           "TX_Color_Error", "TX_BGColor_Light", "TX_BGColor_Dark", "Intel_Red"})
    EXPECT_EQ(table.GetColor(same), defaults.GetColor(same)) << same;
  std::filesystem::remove(path);
}

TEST(ColorFile, AFileThatCannotBeOpenedRaisesAndChangesNothing) {
  const std::string missing = TempPath("no_such_dir/colors.txt");
  TQD_ColorTable table;
  table.SetColor("Intel_Blue", 0x01020304u);
  TQD_ColorTable before;
  before.Assign(table);
  try {
    table.ImportFromFile(missing);
    FAIL() << "import of a missing file returned";
  } catch (const TQD_FileError& e) {
    EXPECT_EQ(e.FileName(), missing);
    EXPECT_NE(std::string(e.what()).find(missing), std::string::npos);
    EXPECT_NE(std::string(e.what()).find(ErrnoReason(ENOENT)), std::string::npos) << e.what();
  }
  EXPECT_TRUE(SameColors(table, before));
  EXPECT_THROW(table.ExportToFile(missing), TQD_FileError);
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(ColorFile, ExportReportsFailedWrites) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  TQD_ColorTable table;
  EXPECT_EQ(table.ExportToFile("/dev/full"), -1);
}

}  // namespace
