// What `sensorfeed dump` prints besides the raw block: the machine as the
// program's own system-information code sees it (--system) and the derived
// hardware model (--model). Portable: they print from a data logger.
#pragma once

#include <cstdio>

class TQD_DataLogger;

void PrintSystemReport(TQD_DataLogger& ALogger, std::FILE* AOut);
void PrintModelReport(const TQD_DataLogger& ALogger, std::FILE* AOut);
