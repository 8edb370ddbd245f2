// The shared memory viewer's content: which tree a poll gives, the detail
// texts of a sensor and of a reading, the selection label, SelectURID's walk,
// and the resize arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "logger_rig.h"
#include "base/dpi.h"
#include "readings/urid_selector_model.h"

namespace {

// Two sensors with the same identity, so that a URID exists twice; the
// reading listed first belongs to the second sensor.
struct TViewerRig : TLoggerRig {
  TURIDSelectorModel Model;
  TViewerRig() {
    Sensor(kCPUSensor, 0, "CPU [#0]", "My CPU");
    Sensor(kBoardSensor, 1, "Board", "");
    Sensor(kBoardSensor, 1, "Board again", "");
    Reading(2, SENSOR_TYPE_VOLT, 0x5, "Vcore (late sensor)", "V", 1.25);
    Reading(0, SENSOR_TYPE_TEMP, 0x1000000, "CPU Package", "\xC2\xB0" "C", 45);
    Reading(1, SENSOR_TYPE_VOLT, 0x5, "Vcore", "V", 1.2);
    Reading(0, 42, 0x7000000, "Odd type", "%", 0.1234567);
  }
};

std::vector<std::string> ChildLabels(const TURIDSelectorModel& AModel, size_t ASensor) {
  std::vector<std::string> labels;
  for (uint32_t e : AModel.Children()[ASensor]) labels.push_back(AModel.EntryItems()[e].Data.szLabelUser);
  return labels;
}

}  // namespace

TEST(URIDSelectorModel, TreeHasOneRootPerSensorAndOnlyAfterASuccessfulPoll) {
  TViewerRig rig;
  rig.Model.Build(nullptr);
  EXPECT_TRUE(rig.Model.SensorItems().empty());

  rig.Model.Build(&rig.Poll());
  ASSERT_EQ(rig.Model.SensorItems().size(), 3u);
  EXPECT_EQ(rig.Model.SensorItems()[0].Data.szSensorNameUser, "My CPU");
  EXPECT_EQ(rig.Model.EntryItems().size(), 4u);  // the placeholder is no reading
  EXPECT_EQ(ChildLabels(rig.Model, 0), (std::vector<std::string>{"CPU Package", "Odd type"}));
  EXPECT_EQ(ChildLabels(rig.Model, 1), (std::vector<std::string>{"Vcore"}));
  EXPECT_EQ(ChildLabels(rig.Model, 2), (std::vector<std::string>{"Vcore (late sensor)"}));

  // A failed poll empties the tree, the details and the selection.
  rig.Model.ShowEntry(0);
  rig.Model.Build(&rig.PollWithoutHWiNFO());
  EXPECT_TRUE(rig.Model.SensorItems().empty());
  EXPECT_TRUE(rig.Model.EntryItems().empty());
  EXPECT_EQ(rig.Model.Details(), TURIDSelectorDetails{});
  EXPECT_EQ(rig.Model.SelectedLabel(), "-");
}

TEST(URIDSelectorModel, DetailsOfAReadingAndOfASensor) {
  TViewerRig rig;
  rig.Model.Build(&rig.Poll());
  rig.Model.ShowEntry(1);  // CPU Package
  const TURIDSelectorDetails reading = {"CPU [#0]",   "My CPU",      "0xF0000300", "0x0",     "CPU Package",
                                        "CPU Package", "0x1000000", "Temperature", "\xC2\xB0" "C", "45.000000",
                                        "45.000000",  "45.000000",   "45.000000"};
  EXPECT_EQ(rig.Model.Details(), reading);
  EXPECT_EQ(rig.Model.SelectedLabel(), "Sensor: 0xF0000300 | Instance: 0x0 | Reading: 0x1000000");

  // A sensor after a reading: its four fields, the rest emptied, no selection.
  rig.Model.ShowSensor(1);
  const TURIDSelectorDetails sensor = {"Board", "Board", "0xF0001000", "0x1"};
  EXPECT_EQ(rig.Model.Details(), sensor);
  EXPECT_TRUE(URIDIsEmpty(rig.Model.SelectedURID()));
  EXPECT_EQ(rig.Model.SelectedLabel(), "-");

  rig.Model.ShowEntry(3);
  EXPECT_EQ(rig.Model.Details()[ufEntryType], "Unknown (42)");
}

TEST(URIDSelectorModel, SelectURIDWalksTheTreeInTreeOrder) {
  TViewerRig rig;
  rig.Model.Build(&rig.Poll());
  const TQD_URID vcore = TQD_URID::CreateNew(kBoardSensor, 1, 0x5);
  // Twice in the snapshot: the node under the earlier root wins, though the
  // reading under the later one comes first in the readings list.
  EXPECT_EQ(rig.Model.SelectURID(vcore), 2);
  EXPECT_EQ(rig.Model.Details()[ufEntryOriginalName], "Vcore");
  EXPECT_EQ(rig.Model.SelectedURID(), vcore);

  const struct {
    const char* Name;
    TQD_URID URID;
  } absent[] = {{"divider", TQD_URID::CreateDivider()},
                {"empty", TQD_URID::CreateEmpty()},
                {"gone", TQD_URID::CreateNew(kCPUSensor, 0, 0x1234)}};
  for (const auto& c : absent) {
    rig.Model.ShowEntry(1);
    EXPECT_EQ(rig.Model.SelectURID(c.URID), -1) << c.Name;
    EXPECT_EQ(rig.Model.Details(), TURIDSelectorDetails{}) << c.Name;
    EXPECT_EQ(rig.Model.SelectedLabel(), "-") << c.Name;
  }
}

TEST(URIDSelectorModel, ValuesAndTypeTexts) {
  const TQD_InvariantLocale point(".", ","), comma(",", "."), arabic("\u066B", "\u2019");
  const struct {
    double Value;
    const TQD_LocalePort& Locale;
    const char* Text;
  } values[] = {
      {45, point, "45.000000"},
      {45, comma, "45,000000"},
      {-3.5, comma, "-3,500000"},
      {-3.5, arabic, "-3\u066B500000"},  // a separator of more than one byte
      {0.1234567, point, "0.123457"},
      {-0.0000001, point, "0.000000"},              // no sign on a zero
      {1234567.1234567, point, "1234567.123460"},  // 12 significant digits, then zeros
      {999999999999.4, point, "999999999999.000000"},
      {1e12, comma, "1,00000000000E+12"},
      {std::numeric_limits<double>::quiet_NaN(), point, "NAN"},
      {-std::numeric_limits<double>::infinity(), point, "-INF"},
  };
  for (const auto& c : values) EXPECT_EQ(FormatDetailValue(c.Value, c.Locale), c.Text) << c.Value;

  const struct {
    uint32_t Code;
    const char* Name;
  } types[] = {{0, "None"}, {1, "Temperature"}, {3, "Fan"}, {8, "Other"}, {9, "Unknown (9)"},
               {0xFFFFFFFF, "Unknown (4294967295)"}};
  for (const auto& c : types) EXPECT_EQ(ReadingTypeName(c.Code), c.Name);
}

TEST(URIDSelectorModel, ResizeLayoutFollowsTheMArithmetic) {
  // At 96 DPI and the design size: M = 12, group client width 516.
  const TURIDSelectorLayout l = LayoutURIDSelector(524, 531, 96);
  const int gx = l.SensorGroup.Left + 1;  // group client origin
  EXPECT_EQ(l.SensorGroup.Width() - 2, 516);
  const struct {
    TURIDSelectorField Field;
    int Left, Width;  // relative to the group's client area
  } fields[] = {{ufSensorOriginalName, 12, 328}, {ufSensorCurrentName, 12, 328}, {ufSensorID, 352, 152},
                {ufSensorInstance, 352, 152},    {ufEntryOriginalName, 12, 328}, {ufEntryID, 12, 101},
                {ufEntryType, 125, 101},         {ufEntryUnit, 238, 101},        {ufCurrentValue, 412, 92},
                {ufAverageValue, 412, 92}};
  for (const auto& f : fields) {
    EXPECT_EQ(l.Fields[f.Field].Left - gx, f.Left) << int(f.Field);
    EXPECT_EQ(l.Fields[f.Field].Width(), f.Width) << int(f.Field);
  }
  EXPECT_EQ(l.Captions[ucValues].Left, l.Fields[ufCurrentValue].Left);

  // The grid: 42/20/28/10 per cent rows, Reload in the first of six columns.
  EXPECT_EQ(l.TreeView.Bottom + 3, 531 * 42 / 100);
  EXPECT_EQ(l.ReloadButton.Right + 3, 524 / 6);
  EXPECT_EQ(l.SelectedGroup.Right, 524 - 3);

  // Any size and DPI: each field inside its group, the right column ending M
  // before the group's right edge, and no overlap along a row.
  for (const int dpi : {96, 120, 144, 192})
    for (const int grow : {0, 37, 400}) {
      const int w = ScaleToDPI(524, dpi) + grow, h = ScaleToDPI(531, dpi) + grow;
      const TURIDSelectorLayout s = LayoutURIDSelector(w, h, dpi);
      const int m = ScaleToDPI(12, dpi);
      for (int f = 0; f < ufFieldCount; ++f) {
        const TURIDSelectorRect& g = f < ufEntryOriginalName ? s.SensorGroup : s.EntryGroup;
        const TURIDSelectorRect& r = s.Fields[f];
        EXPECT_TRUE(r.Left >= g.Left && r.Right <= g.Right && r.Top >= g.Top && r.Bottom <= g.Bottom)
            << "field " << f << " dpi " << dpi << " grow " << grow;
      }
      EXPECT_EQ(s.SensorGroup.Right - 1 - s.Fields[ufSensorID].Right, m);
      EXPECT_EQ(s.EntryGroup.Right - 1 - s.Fields[ufMaxValue].Right, m);
      EXPECT_LT(s.Fields[ufEntryID].Right, s.Fields[ufEntryType].Left);
      EXPECT_LT(s.Fields[ufEntryType].Right, s.Fields[ufEntryUnit].Left);
      EXPECT_LE(s.Fields[ufEntryUnit].Right, s.Fields[ufEntryCurrentName].Right + 1);
      EXPECT_LT(s.Captions[ucMaxValue].Right, s.Fields[ufMaxValue].Left);
    }
}
