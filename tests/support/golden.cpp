// Golden-image comparison; see golden.h.
#include "golden.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "png_reader.h"
#include "render/png_writer.h"

void ExpectMatchesGolden(const TBitmap32& ARendering, const std::string& AName, int ATolerance) {
  const char* root = std::getenv("QUENDAL_SOURCE_DIR");
  ASSERT_NE(root, nullptr) << "QUENDAL_SOURCE_DIR is not set (ctest sets it)";
  const std::string path = std::string(root) + "/tests/golden/" + AName + ".png";
  if (std::getenv("QUENDAL_UPDATE_GOLDEN")) {
    std::string error;
    ASSERT_TRUE(WritePngFile(ARendering, path, &error)) << error;
  }
  TBitmap32 golden;
  std::string error;
  ASSERT_TRUE(ReadStoredPngFile(path, golden, &error)) << error;
  ASSERT_EQ(golden.Width(), ARendering.Width()) << AName;
  ASSERT_EQ(golden.Height(), ARendering.Height()) << AName;
  int worst = 0, differing = 0;
  for (int y = 0; y < ARendering.Height(); ++y)
    for (int x = 0; x < ARendering.Width(); ++x) {
      const TColor32 a = ARendering.Pixel(x, y), g = golden.Pixel(x, y);
      int d = 0;
      for (int s = 0; s <= 24; s += 8) d = std::max(d, std::abs(int((a >> s) & 0xFF) - int((g >> s) & 0xFF)));
      worst = std::max(worst, d);
      differing += d > ATolerance;
    }
  if (differing) WritePngFile(ARendering, path + ".new");
  EXPECT_EQ(differing, 0) << AName << ": worst channel difference " << worst << "; see " << path << ".new";
}
