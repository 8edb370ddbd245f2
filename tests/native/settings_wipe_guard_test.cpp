// The end-to-end tests may delete the program's settings only in the Wine
// prefix of their own build tree.
#include <gtest/gtest.h>

#include "settings_wipe_guard.h"

TEST(SettingsWipeGuard, AllowsOnlyAWinePrefixInsideTheBuildTree) {
  const char* const build = "/work/q/build/win64";
  struct Case {
    bool UnderWine;
    const char* Prefix;
    const char* Build;
    const char* Reason;  // nullptr: allowed
  };
  const Case cases[] = {
      {true, "/work/q/build/win64/wineprefix", build, nullptr},
      {true, "/work/q/build/win64/wineprefix/", "/work/q/build/win64/", nullptr},
      {false, "/work/q/build/win64/wineprefix", build, "not running under Wine"},
      {true, "", build, "WINEPREFIX is not set"},
      {true, "/home/dev/.wine", build, "is not inside the build tree"},
      {true, "/work/q/build/win64", build, "is not inside the build tree"},  // the tree itself
      {true, "/work/q/build/win64-old/wineprefix", build, "is not inside the build tree"},
      {true, "/work/q/build/win64/../../../home/dev/.wine", build, "not a plain absolute path"},
      {true, "/work/q/build/win64/./wineprefix", build, "not a plain absolute path"},
      {true, "build/win64/wineprefix", build, "not a plain absolute path"},
      {true, "/work/q/build/win64/wineprefix", "", "build folder"},
      {true, "/work/q/build/win64/wineprefix", "build/win64", "build folder"},
  };
  for (const Case& c : cases) {
    const std::string refusal = SettingsWipeRefusal(c.UnderWine, c.Prefix, c.Build);
    if (c.Reason) {
      EXPECT_NE(refusal.find(c.Reason), std::string::npos) << c.Prefix << " in " << c.Build << ": " << refusal;
      EXPECT_EQ(refusal.rfind("refusing to delete HKCU\\Software\\Quendal", 0), 0u) << refusal;
    } else {
      EXPECT_EQ(refusal, "") << c.Prefix << " in " << c.Build;
    }
  }
}
