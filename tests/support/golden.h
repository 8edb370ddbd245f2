// Golden-image comparison for tests: a rendering must match
// tests/golden/NAME.png within a small per-channel tolerance. Regenerate
// deliberately with QUENDAL_UPDATE_GOLDEN=1 and look at the PNG before
// committing it; a mismatch leaves the new rendering beside the golden as
// NAME.png.new.
#pragma once

#include <string>

#include "render/bitmap32.h"

// Adds a test failure (with the worst channel difference) on a mismatch.
void ExpectMatchesGolden(const TBitmap32& ARendering, const std::string& AName, int ATolerance = 2);
