// The figures the host profile is built from, read from the machine
// sensorfeed runs on through the same system-information port Quendal uses,
// so the block's processor counts are the ones Quendal will compare with.
#pragma once

#include "sim/profiles.h"

// Processor counts and RAM from the port, the brand string from CPUID.
TSF_HostFigures ReadHostFigures();
