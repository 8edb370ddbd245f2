// Custom readings lists: the 20-entry limit, the slot layout in the store,
// and the parameter readers.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "collector/locale_port.h"
#include "readings/custom_readings_list.h"
#include "settings/memory_key_value_store.h"

namespace {

const std::string kKey = "Software\\Quendal\\CPUMonitorCustomReadings";

TQD_URID Reading(uint32_t AID) { return TQD_URID::CreateNew(0xF0000000u + AID, AID % 3, 0x1000000u + AID); }

void WriteSlot(TQD_MemoryKeyValueStore& AStore, const std::string& ASlot, const char* AID, const char* AInst,
               const char* AReading, const char* AParams) {
  const std::pair<const char*, const char*> values[] = {
      {"_dwSensorID", AID}, {"_dwSensorInst", AInst}, {"_dwReadingID", AReading}, {"_Parameters", AParams}};
  for (const auto& [field, text] : values)
    if (text) RegWriteString(AStore, kKey, ASlot + field, text);
}

TEST(CustomReadingsList, HoldsAtMostTwentyEntries) {
  TQD_CustomReadingsList list("\\CPUMonitorCustomReadings");
  EXPECT_EQ(list.RegKey(), kKey);
  for (uint32_t i = 0; i < 19; ++i) ASSERT_TRUE(list.Add(Reading(i), "C=" + std::to_string(i % 9 + 1)));
  EXPECT_TRUE(list.CreateDivider());
  EXPECT_EQ(list.Count(), 20);
  EXPECT_FALSE(list.Add(Reading(99), "x"));
  EXPECT_FALSE(list.CreateDivider());
  EXPECT_EQ(list.Count(), 20);
  EXPECT_TRUE(URIDIsDivider(list.Items().back().URID));
  EXPECT_EQ(list.Items().back().Parameters, "");
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(list.Add(Reading(1), ""));
}

TEST(CustomReadingsList, SlotsHoldHexTextsWithTheirMinimumDigits) {
  TQD_MemoryKeyValueStore store;
  TQD_CustomReadingsList list("\\CPUMonitorCustomReadings");
  list.Add(TQD_URID::CreateNew(16, 0, 16), "T=90;V=MAX");
  list.CreateDivider();
  list.Add(TQD_URID::CreateNew(0xF0000300u, 0xABCDEF12u, 0x7000000u), "");
  list.SaveToRegistry(store);

  auto text = [&](const char* AName) { return RegReadString(store, kKey, AName, "<missing>"); };
  EXPECT_EQ(text("00_dwSensorID"), "0x00000010");
  EXPECT_EQ(text("00_dwSensorInst"), "0x0");
  EXPECT_EQ(text("00_dwReadingID"), "0x0000010");
  EXPECT_EQ(text("00_Parameters"), "T=90;V=MAX");
  for (const char* field : {"01_dwSensorID", "01_dwSensorInst", "01_dwReadingID"}) EXPECT_EQ(text(field), "0xFFFFFFFF");
  EXPECT_EQ(text("01_Parameters"), "");
  EXPECT_EQ(text("02_dwSensorID"), "0xF0000300");
  EXPECT_EQ(text("02_dwSensorInst"), "0xABCDEF12");
  EXPECT_EQ(text("02_dwReadingID"), "0x7000000");
  EXPECT_EQ(store.ValueNames(kKey).size(), 12u);
  EXPECT_EQ(store.RawValue(kKey, "01_Parameters")->Type, TQD_MemoryValueType::String);

  TQD_CustomReadingsList loaded("\\CPUMonitorCustomReadings");
  loaded.LoadFromRegistry(store);
  ASSERT_EQ(loaded.Count(), 3);
  EXPECT_EQ(loaded.Items()[0].URID, TQD_URID::CreateNew(16, 0, 16));
  EXPECT_EQ(loaded.Items()[0].Parameters, "T=90;V=MAX");
  EXPECT_TRUE(URIDIsDivider(loaded.Items()[1].URID));
  EXPECT_EQ(loaded.Items()[2].URID, list.Items()[2].URID);
}

TEST(CustomReadingsList, SavingRewritesDenselyAndDropsOldSlots) {
  TQD_MemoryKeyValueStore store;
  RegWriteString(store, kKey, "Unrelated", "kept");
  TQD_CustomReadingsList list("\\CPUMonitorCustomReadings");
  for (uint32_t i = 1; i <= 3; ++i) list.Add(Reading(i), "C=" + std::to_string(i));
  list.SaveToRegistry(store);

  // The editor rebuilds the list without its middle row.
  list.Clear();
  list.Add(Reading(1), "C=1");
  list.Add(Reading(3), "C=3");
  list.SaveToRegistry(store);
  EXPECT_EQ(RegReadString(store, kKey, "01_Parameters", ""), "C=3");
  for (const char* gone : {"02_dwSensorID", "02_dwSensorInst", "02_dwReadingID", "02_Parameters"})
    EXPECT_FALSE(RegValueExists(store, kKey, gone)) << gone;
  EXPECT_EQ(store.ValueNames(kKey).size(), 9u);

  list.Clear();
  list.SaveToRegistry(store);
  EXPECT_EQ(store.ValueNames(kKey), std::vector<std::string>{"Unrelated"});
}

TEST(CustomReadingsList, LoadSkipsIncompleteSlotsAndParsesLeniently) {
  TQD_MemoryKeyValueStore store;
  WriteSlot(store, "00", "0xF0000300", "0x0", "0x7000000", "C=3");
  WriteSlot(store, "01", "0xF0000301", "0x0", "0x7000001", nullptr);  // no parameters
  WriteSlot(store, "02", "f0000302", "1", "0X7000002", "O=L");
  store.SetRawValue(kKey, "03_dwSensorID", TQD_MemoryValue::FromDWord(5));  // not a string: missing
  WriteSlot(store, "03", nullptr, "0x0", "0x0", "");
  WriteSlot(store, "05", "zz", "0x", "", "");  // unparseable: zeros, still added
  WriteSlot(store, "07", "-", "0x0", "0x0", "");
  WriteSlot(store, "20", "0x1", "0x1", "0x1", "");  // beyond the 20 slots

  TQD_CustomReadingsList list("\\CPUMonitorCustomReadings");
  list.LoadFromRegistry(store);
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Items()[0].URID, TQD_URID::CreateNew(0xF0000300u, 0, 0x7000000u));
  EXPECT_EQ(list.Items()[0].Parameters, "C=3");
  EXPECT_EQ(list.Items()[1].URID, TQD_URID::CreateNew(0xF0000302u, 1, 0x7000002u));
  EXPECT_TRUE(URIDIsEmpty(list.Items()[2].URID));
  EXPECT_TRUE(URIDIsDivider(list.Items()[3].URID));

  // The next save renumbers what was loaded.
  list.SaveToRegistry(store);
  EXPECT_EQ(RegReadString(store, kKey, "01_Parameters", ""), "O=L");
  EXPECT_EQ(RegReadString(store, kKey, "03_dwSensorID", ""), "0xFFFFFFFF");
  EXPECT_FALSE(RegValueExists(store, kKey, "05_dwSensorID"));
  EXPECT_FALSE(RegValueExists(store, kKey, "07_Parameters"));
}

TEST(CustomReadingsList, LoadAppendsUpToTheLimit) {
  TQD_MemoryKeyValueStore store;
  TQD_CustomReadingsList full("\\GPUMonitorCustomReadings");
  for (uint32_t i = 0; i < 20; ++i) full.Add(Reading(i), std::to_string(i));
  full.SaveToRegistry(store);
  TQD_CustomReadingsList list("\\GPUMonitorCustomReadings");
  list.Add(Reading(100), "already here");
  list.LoadFromRegistry(store);
  ASSERT_EQ(list.Count(), 20);
  EXPECT_EQ(list.Items()[0].Parameters, "already here");
  EXPECT_EQ(list.Items()[19].Parameters, "18");
}

TEST(CustomReadingsParameters, EmptyTextGivesEveryDefault) {
  EXPECT_EQ(GetParamTemperatureMax(""), 100.0);
  EXPECT_EQ(GetParamCaptionSource(""), dcsValue);
  EXPECT_EQ(GetParamLabelWidth(""), 5);
  EXPECT_EQ(GetParamOrientation(""), 0);
  EXPECT_EQ(GetParamForcedDisplay(""), 0);
}

TEST(CustomReadingsParameters, LabelWidthIsClampedToOneToNine) {
  EXPECT_EQ(GetParamLabelWidth("c=12"), 9);
  EXPECT_EQ(GetParamLabelWidth("C=0"), 1);
  EXPECT_EQ(GetParamLabelWidth("C=-3"), 1);
  EXPECT_EQ(GetParamLabelWidth("C=abc"), 5);
  EXPECT_EQ(GetParamLabelWidth("C="), 5);
  EXPECT_EQ(GetParamLabelWidth("C=;T=5"), 5);
  EXPECT_EQ(GetParamLabelWidth("C=3.5"), 5);
  EXPECT_EQ(GetParamLabelWidth("C=99999999999"), 5);
  EXPECT_EQ(GetParamLabelWidth("T=90;C=4;F=LG"), 4);
  EXPECT_EQ(GetParamLabelWidth("C=3;C=7"), 3);  // the first occurrence counts
}

TEST(CustomReadingsParameters, KeywordsMatchExactlyWithoutRegardToCase) {
  EXPECT_EQ(GetParamOrientation("o=l"), 1);
  EXPECT_EQ(GetParamOrientation("O=R"), 0);
  EXPECT_EQ(GetParamOrientation("O=X"), 0);
  EXPECT_EQ(GetParamOrientation("O=LEFT"), 0);
  EXPECT_EQ(GetParamForcedDisplay("F=lg;C=3"), 3);
  EXPECT_EQ(GetParamLabelWidth("F=lg;C=3"), 3);
  EXPECT_EQ(GetParamForcedDisplay("F=LB"), 1);
  EXPECT_EQ(GetParamForcedDisplay("f=Ga"), 2);
  EXPECT_EQ(GetParamForcedDisplay("F=LGX"), 0);
  EXPECT_EQ(GetParamCaptionSource("v=min"), dcsValueMin);
  EXPECT_EQ(GetParamCaptionSource("T=90;V=MAX"), dcsValueMax);
  EXPECT_EQ(GetParamCaptionSource("V=Avg;"), dcsValueAvg);
  EXPECT_EQ(GetParamCaptionSource("V=CUR"), dcsValue);
  EXPECT_EQ(GetParamCaptionSource("V=MAXIMUM"), dcsValue);
  EXPECT_EQ(GetParamCaptionSource("V= MAX"), dcsValue);
}

TEST(CustomReadingsParameters, TemperatureMaximumFollowsTheLocale) {
  const TQD_InvariantLocale point(".", ",");
  const TQD_InvariantLocale comma(",", ".");
  EXPECT_EQ(GetParamTemperatureMax("T=85.5", point), 85.5);
  EXPECT_EQ(GetParamTemperatureMax("T=85.5", comma), 100.0);
  EXPECT_EQ(GetParamTemperatureMax("t=85,5;C=3", comma), 85.5);
  EXPECT_EQ(GetParamTemperatureMax("T=85,5", point), 100.0);
  EXPECT_EQ(GetParamTemperatureMax("T=90", comma), 90.0);
  EXPECT_EQ(GetParamTemperatureMax("T=-20", point), -20.0);
  EXPECT_EQ(GetParamTemperatureMax("T=1.5E2", point), 150.0);
  EXPECT_EQ(GetParamTemperatureMax("T=1,000", point), 100.0);  // no thousands separators
  EXPECT_EQ(GetParamTemperatureMax("T=abc", point), 100.0);
  EXPECT_EQ(GetParamTemperatureMax("T=", point), 100.0);
  EXPECT_EQ(GetParamTemperatureMax("T=.", point), 100.0);
  EXPECT_EQ(GetParamTemperatureMax("T=1e999", point), 100.0);
  EXPECT_EQ(GetParamTemperatureMax("T=nan", point), 100.0);

  // Without a locale argument the readers use the current one.
  SetCurrentLocale(&comma);
  EXPECT_EQ(GetParamTemperatureMax("T=72,5"), 72.5);
  SetCurrentLocale(nullptr);
  EXPECT_EQ(GetParamTemperatureMax("T=72,5"), 100.0);
}

// The user's locale as the system keeps it: read into the port at start and
// again on each Refresh, as the Windows port does.
class TSystemLocale : public TQD_InvariantLocale {
 public:
  std::string SystemDecimal = ".";
  std::string SystemThousand = ",";
  std::string_view DecimalSeparator() const override { return FDecimal; }
  std::string_view ThousandSeparator() const override { return FThousand; }
  void Refresh() const override {
    FDecimal = SystemDecimal;
    FThousand = SystemThousand;
  }

 private:
  mutable std::string FDecimal = ".";
  mutable std::string FThousand = ",";
};

TEST(CustomReadingsParameters, TemperatureMaximumTakesMultiByteSeparatorsAndTheirChanges) {
  const std::string arabicDecimal = "\xD9\xAB";       // U+066B
  const std::string apostrophe = "\xE2\x80\x99";     // U+2019, a thousands separator
  TSystemLocale locale;
  SetCurrentLocale(&locale);
  EXPECT_EQ(GetParamTemperatureMax("T=85.5"), 85.5);

  // The user picks other separators: they count once the system says so.
  locale.SystemDecimal = arabicDecimal;
  locale.SystemThousand = apostrophe;
  EXPECT_EQ(GetParamTemperatureMax("T=85.5"), 85.5);
  SystemSettingChanged("Environment");
  EXPECT_EQ(GetParamTemperatureMax("T=85.5"), 85.5);
  SystemSettingChanged("intl");
  EXPECT_EQ(GetParamTemperatureMax("T=85" + arabicDecimal + "5;C=3"), 85.5);
  EXPECT_EQ(GetParamTemperatureMax("T=85.5"), 100.0);
  EXPECT_EQ(GetParamTemperatureMax("T=85" + arabicDecimal.substr(0, 1) + "5"), 100.0);  // half a separator
  EXPECT_EQ(GetParamTemperatureMax("T=1" + apostrophe + "000"), 100.0);  // no thousands separators
  EXPECT_EQ(GetParamTemperatureMax("T=" + arabicDecimal + "5"), 0.5);
  SetCurrentLocale(nullptr);
}

}  // namespace
