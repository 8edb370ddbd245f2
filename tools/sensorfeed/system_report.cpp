// Placeholder until the system report lands.
#include "reports.h"

void PrintSystemReport(TQD_DataLogger&, std::FILE* AOut) { std::fputs("(not available in this build)\n", AOut); }
