// `sensorfeed dump --system`: the machine as the collector's own
// system-information and network code sees it, in plain text, so the ports
// can be checked by eye on a real machine or under Wine. Numbers are printed
// raw (bytes, bytes per second) with a GiB figure beside the byte counts.
#include <cinttypes>
#include <cstdio>

#include "collector/data_logger.h"
#include "sensorfeed/reports.h"

namespace {

double GiB(double ABytes) { return ABytes / (1024.0 * 1024.0 * 1024.0); }

void PrintBytes(std::FILE* AOut, const char* ACaption, uint64_t ABytes) {
  std::fprintf(AOut, "  %-12s %" PRIu64 " bytes (%.2f GiB)\n", ACaption, ABytes, GiB(static_cast<double>(ABytes)));
}

// Drive sizes are -1 when the drive could not be asked; no GiB figure then.
void PrintSpace(std::FILE* AOut, const char* ACaption, int64_t ABytes) {
  if (ABytes < 0)
    std::fprintf(AOut, " %s %" PRId64, ACaption, ABytes);
  else
    std::fprintf(AOut, " %s %" PRId64 " (%.2f GiB)", ACaption, ABytes, GiB(static_cast<double>(ABytes)));
}

}  // namespace

void PrintSystemReport(TQD_DataLogger& ALogger, std::FILE* AOut) {
  const TQD_CPUINFO& cpu = ALogger.CPUInfo();
  std::fprintf(AOut, "CPU\n");
  std::fprintf(AOut, "  Vendor:              %s (%" PRIu32 ")\n", CPUVendorName(cpu.Vendor), cpu.Vendor);
  std::fprintf(AOut, "  Packages:            %" PRIu32 "\n", cpu.NumCPUs);
  std::fprintf(AOut, "  Physical cores:      %" PRIu32 "\n", cpu.NumPhysicalCores);
  std::fprintf(AOut, "  Logical processors:  %" PRIu32 "\n", cpu.NumLogicalProcessors);

  const TQD_RAMINFO& ram = ALogger.RAMInfo();
  std::fprintf(AOut, "RAM (Total includes reserved memory: %s)\n", ALogger.RAMInfoIncludeReserved() ? "yes" : "no");
  PrintBytes(AOut, "Installed:", ram.TotalInstalled);
  PrintBytes(AOut, "Reported:", ram.TotalReported);
  PrintBytes(AOut, "Total:", ram.Total);
  PrintBytes(AOut, "Available:", ram.Available);

  const TQD_DRVMTR_LogicalDrives& drives = ALogger.LogicalDrives();
  std::fprintf(AOut, "Logical drives: %d\n", ALogger.NumLogicalDrives());
  for (size_t i = 1; i < drives.size(); ++i) {
    const TQD_DRVMTR_ALogicalDrive& d = drives[i];
    std::fprintf(AOut, "  [%zu] index %" PRIu32 " %s %s label \"%s\"", i, d.Index, d.Letter.c_str(),
                 d.Fixed ? "fixed" : "not-fixed", d.Name.c_str());
    PrintSpace(AOut, "total", d.TotalSpace);
    PrintSpace(AOut, "free", d.FreeSpace);
    PrintSpace(AOut, "used", d.UsedSpace);
    std::fprintf(AOut, "\n");
  }

  const TQD_NIFLogger& nif = ALogger.NIFLogger();
  std::fprintf(AOut, "Network interfaces: %zu (history of %" PRIu32 " samples)\n", nif.NumInterfaces(),
               nif.BufferLen());
  for (const TQD_SingleInterface& i : nif.InterfaceList()) {
    std::fprintf(AOut, "  %s \"%s\"\n", GuidToText(i.ID).c_str(), i.IFName.c_str());
    std::fprintf(AOut, "    %s, %s, link up %" PRIu64 " B/s, down %" PRIu64 " B/s\n", i.Enabled ? "up" : "down",
                 i.Hardware ? "hardware" : "software", i.UploadBW, i.DownloadBW);
    const uint64_t sent = i.UploadValues.empty() ? 0 : i.UploadValues.back();
    const uint64_t received = i.DownloadValues.empty() ? 0 : i.DownloadValues.back();
    std::fprintf(AOut, "    last sample: sent %" PRIu64 " B, received %" PRIu64 " B\n", sent, received);
  }

  const uint8_t status = ALogger.LastInternalPollingStatus();
  std::fprintf(AOut, "Internal polling status: %u (%s)\n", status,
               status == insOK ? "OK" : status == insNotPolled ? "not polled yet" : "failed");
}
