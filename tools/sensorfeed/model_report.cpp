// Placeholder until the hardware model report lands.
#include "reports.h"

void PrintModelReport(const TQD_DataLogger&, std::FILE* AOut) { std::fputs("(not available in this build)\n", AOut); }
