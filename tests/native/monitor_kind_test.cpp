// The monitor kinds' table: each row belongs to its kind, and the settings it
// names all live under that kind's own key, so a row pasted from its
// neighbour cannot go unnoticed.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "monitors/monitor_kind.h"
#include "settings/settings.h"

TEST(MonitorKind, EachRowNamesOnlyItsOwnKindsSettingsAndActions) {
  const TQD_Settings s = TQD_Settings::CreateDefault();
  std::set<std::string> names;
  for (int i = 0; i < kMonitorKindCount; ++i) {
    const TQD_MonitorDescriptor& d = QD_MonitorDescriptors[i];
    SCOPED_TRACE(d.Caption);
    EXPECT_EQ(static_cast<int>(d.Kind), i);
    EXPECT_EQ(std::string("\\") + d.Name, d.RegistryKey);
    for (std::string_view sub : {(s.*d.On).Sub, (s.*d.Left).Sub, (s.*d.Top).Sub, (s.*d.Width).Sub,
                                 (s.*d.Height).Sub})
      EXPECT_EQ(sub, d.RegistryKey);
    if (d.CustomReadingsKey) EXPECT_EQ(std::string(d.RegistryKey) + "CustomReadings", d.CustomReadingsKey);
    for (const char* a : {d.EnableAction, d.DisableAction, d.RebuildAction, d.ResetSizeAction, d.ResetPosAction,
                          d.SettingsAction})
      if (a) EXPECT_TRUE(names.insert(a).second) << a << " twice";
  }
  EXPECT_EQ(QD_MonitorDescriptors[0].CustomReadingsKey, nullptr);
  EXPECT_EQ(names.size(), 29u);
}
