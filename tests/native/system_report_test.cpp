// `sensorfeed dump --system` printed from a data logger over fake ports.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "collector/data_logger.h"
#include "sim/fake_ports.h"
#include "sensorfeed/reports.h"

namespace {

std::string Report(TQD_DataLogger& ALogger) {
  std::FILE* f = std::tmpfile();
  if (!f) return "tmpfile failed";
  PrintSystemReport(ALogger, f);
  std::rewind(f);
  std::string text;
  char buffer[512];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  std::fclose(f);
  return text;
}

}  // namespace

TEST(SystemReport, PrintsWhatTheCollectorSees) {
  TFakeCollector c;
  c.SystemInfo.CPU = TQD_CPUINFO{2, 1, 8, 16};
  c.SystemInfo.RAM = TQD_RAMINFO{uint64_t{16} << 30, uint64_t{15} << 30, 0, uint64_t{6} << 29};
  TQD_DRVMTR_ALogicalDrive cDrive;
  cDrive.Letter = "C:\\";
  cDrive.Fixed = true;
  cDrive.Name = "System";
  cDrive.TotalSpace = int64_t{100} << 30;
  cDrive.FreeSpace = int64_t{25} << 30;
  TQD_DRVMTR_ALogicalDrive dDrive;
  dDrive.Letter = "D:\\";
  dDrive.TotalSpace = -1;  // no disc
  c.SystemInfo.Drives = {cDrive, dDrive};
  TQD_IFRow row = MakeIFRow(1, true, 1000, 5000);
  row.Description = "Ethernet";
  row.TransmitLinkSpeed = row.ReceiveLinkSpeed = 1'000'000'000;
  c.Network.Rows = {row, MakeIFRow(2, false)};
  c.Network.Rows[1].InterfaceAndOperStatusFlags = 0;
  c.Network.Rows[1].ReceiveLinkSpeed = 8;

  TQD_DataLogger logger(c.Ports(), true, 120, 2000);
  c.Network.Rows[0].InOctets = 1300;
  c.Network.Rows[0].OutOctets = 5042;
  logger.InternalPolling();

  const std::string expected =
      "CPU\n"
      "  Vendor:              AuthenticAMD (2)\n"
      "  Packages:            1\n"
      "  Physical cores:      8\n"
      "  Logical processors:  16\n"
      "RAM (Total includes reserved memory: yes)\n"
      "  Installed:   17179869184 bytes (16.00 GiB)\n"
      "  Reported:    16106127360 bytes (15.00 GiB)\n"
      "  Total:       17179869184 bytes (16.00 GiB)\n"
      "  Available:   3221225472 bytes (3.00 GiB)\n"
      "Logical drives: 2\n"
      "  [1] index 0 C:\\ fixed label \"System\" total 107374182400 (100.00 GiB) free 26843545600 (25.00 GiB)"
      " used 80530636800 (75.00 GiB)\n"
      "  [2] index 1 D:\\ not-fixed label \"\" total -1 free -1 used 0 (0.00 GiB)\n"
      "Network interfaces: 2 (history of 120 samples)\n"
      "  {14131211-1615-1817-191A-1B1C1D1E1F20} \"Ethernet\"\n"
      "    up, hardware, link up 125000000 B/s, down 125000000 B/s\n"
      "    last sample: sent 42 B, received 300 B\n"
      "  {25242322-2726-2928-2A2B-2C2D2E2F3031} \"Adapter 2\"\n"
      "    down, software, link up 125000000 B/s, down 1 B/s\n"
      "    last sample: sent 0 B, received 0 B\n"
      "Internal polling status: 0 (OK)\n";
  EXPECT_EQ(Report(logger), expected);
}

TEST(SystemReport, ShowsFailuresAsTheyAre) {
  TFakeCollector c;
  c.SystemInfo.TopologyFails = true;
  c.SystemInfo.RAMFails = true;
  c.SystemInfo.VendorText = "HygonGenuine";
  TQD_DataLogger logger(c.Ports(), false, 60, 2000);
  std::string text = Report(logger);
  EXPECT_NE(text.find("  Vendor:              Unknown (0)\n  Packages:            0\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  Total:       0 bytes (0.00 GiB)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Logical drives: 0\nNetwork interfaces: 0 (history of 60 samples)\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("Internal polling status: 1 (not polled yet)\n"), std::string::npos) << text;
  logger.InternalPolling();
  EXPECT_NE(Report(logger).find("Internal polling status: 255 (failed)\n"), std::string::npos);
}
