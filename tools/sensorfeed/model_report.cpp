// `sensorfeed dump --model`: prints the hardware model a data logger derived
// from the current readings, so a user can see what Quendal detects on their
// machine: each CPU with its cores and threads, each GPU, each hardware
// drive, and for every figure the reading found (its URID, label and current
// value) or "-" when none was.
#include <cinttypes>
#include <cstdio>
#include <string>

#include "collector/data_logger.h"
#include "sensorfeed/reports.h"

namespace {

class TModelPrinter {
 public:
  TModelPrinter(const TQD_DataLogger& ALogger, std::FILE* AOut) : FLogger(ALogger), FOut(AOut) {}

  void Print() {
    std::fprintf(FOut, "Hardware model\n");
    std::fprintf(FOut, "  HWiNFO polling status: %u, physical cores (bounds the per-core readings): %u\n",
                 static_cast<unsigned>(FLogger.LastHWiPollingStatus()),
                 static_cast<unsigned>(FLogger.CPUInfo().NumPhysicalCores));
    if (FLogger.NumCPUs() < 0) {
      std::fprintf(FOut, "  Not built yet: no HWiNFO poll has run.\n");
      return;
    }
    std::fprintf(FOut, "  CPU sensor found: %s, GPU sensor found: %s, drive sensor found: %s\n",
                 YesNo(FLogger.CPUSensorFound()), YesNo(FLogger.GPUSensorFound()),
                 YesNo(FLogger.DriveSensorFound()));
    PrintCPUs();
    PrintGPUs();
    PrintDrives();
  }

 private:
  static constexpr int kValueColumn = 28;

  static const char* YesNo(bool AValue) { return AValue ? "yes" : "no"; }

  // One figure: its name, then the reading's URID, label and current value.
  void Figure(int AIndent, const std::string& AName, const TQD_URID& AURID) {
    // Names padded so that the URIDs line up at one column whatever the indent.
    std::fprintf(FOut, "%*s%-*s ", AIndent, "", kValueColumn - AIndent, AName.c_str());
    if (URIDIsEmpty(AURID)) {
      std::fprintf(FOut, "-\n");
      return;
    }
    std::fprintf(FOut, "%08" PRIX32 ":%" PRIX32 ":%08" PRIX32, AURID.dwSensorID, AURID.dwSensorInst,
                 AURID.dwReadingID);
    const int index = FLogger.GetReadingIndex(AURID);
    if (index == 0) {
      std::fprintf(FOut, "  (no longer in the readings)\n");
      return;
    }
    std::fprintf(FOut, "  \"%s\" = %s\n", FLogger.ReadingList()[static_cast<size_t>(index)].szLabelOrig.c_str(),
                 FLogger.FormatValue(index, dcsValue).c_str());
  }

  void PrintCPUs() {
    const TQD_CPUMTR_CPUs& cpus = FLogger.CPUs();
    std::fprintf(FOut, "CPUs: %d\n", FLogger.NumCPUs());
    for (size_t i = 1; i < cpus.size(); ++i) {
      const TQD_CPUMTR_ACPU& cpu = cpus[i];
      std::fprintf(FOut, "  CPU %u (instance %" PRIu32 ")\n", static_cast<unsigned>(i), cpu.Instance);
      Figure(4, "Usage", cpu.Usage);
      Figure(4, "Package power", cpu.PackagePower);
      Figure(4, "Temperature", cpu.Temperature);
      Figure(4, "Fan", cpu.Fanspeed);
      std::fprintf(FOut, "    Cores: %u\n", static_cast<unsigned>(cpu.Cores.size()));
      for (size_t c = 0; c < cpu.Cores.size(); ++c) PrintCore(static_cast<unsigned>(c), cpu.Cores[c]);
    }
  }

  void PrintCore(unsigned ANumber, const TQD_CPUMTR_ACore& ACore) {
    const bool reported = ACore.IsPCore || ACore.IsECore || ACore.CCD != 0 || !ACore.HardwareThreads.empty() ||
                          !URIDIsEmpty(ACore.Voltage) || !URIDIsEmpty(ACore.Clock) ||
                          !URIDIsEmpty(ACore.Power) || !URIDIsEmpty(ACore.Temperature);
    if (!reported) {
      // A gap in the labels' core numbers: HWiNFO named no reading for it.
      std::fprintf(FOut, "      Core %u: not reported\n", ANumber);
      return;
    }
    std::fprintf(FOut, "      Core %u: %s", ANumber,
                 ACore.IsPCore ? "P-core" : ACore.IsECore ? "E-core" : "core");
    if (ACore.IsPCore && ACore.IsECore) std::fprintf(FOut, " (also labelled E-core)");
    if (ACore.CCD == -1)
      std::fprintf(FOut, ", no CCD in its temperature label");
    else if (ACore.CCD != 0)
      std::fprintf(FOut, ", CCD %d", static_cast<int>(ACore.CCD));
    std::fprintf(FOut, ", %u thread(s)\n", static_cast<unsigned>(ACore.HardwareThreads.size()));
    Figure(8, "Voltage", ACore.Voltage);
    Figure(8, "Clock", ACore.Clock);
    Figure(8, "Power", ACore.Power);
    Figure(8, "Temperature", ACore.Temperature);
    for (size_t t = 0; t < ACore.HardwareThreads.size(); ++t)
      Figure(8, "Thread " + std::to_string(t) + " usage", ACore.HardwareThreads[t].Usage);
  }

  void PrintGPUs() {
    const TQD_GPUMTR_GPUs& gpus = FLogger.GPUs();
    std::fprintf(FOut, "GPUs: %d\n", FLogger.NumGPUs());
    for (size_t i = 1; i < gpus.size(); ++i) {
      const TQD_GPUMTR_AGPU& gpu = gpus[i];
      const char* vendor = gpu.Vendor < 4 ? GPUVendorNames[gpu.Vendor] : "?";
      std::fprintf(FOut, "  GPU %u (instance %" PRIu32 "): %s, \"%s\"\n", static_cast<unsigned>(i), gpu.Instance,
                   vendor, gpu.GPUName.c_str());
      std::fprintf(FOut, "    %-24s %" PRIu32 " MiB\n", "Memory total", gpu.MemoryTotal);
      Figure(4, "Usage", gpu.Usage);
      Figure(4, "Voltage", gpu.Voltage);
      Figure(4, "Clock", gpu.Clock);
      Figure(4, "Power", gpu.Power);
      Figure(4, "Temperature", gpu.Temperature);
      Figure(4, "Hotspot", gpu.Hotspot);
      Figure(4, "Memory allocated", gpu.MemoryAllocated);
      Figure(4, "Memory usage", gpu.MemoryUsage);
      Figure(4, "Memory clock", gpu.MemoryClock);
      Figure(4, "Memory temperature", gpu.MemoryTemperature);
      Figure(4, "Memory controller load", gpu.MemoryControllerLoad);
      Figure(4, "Video clock", gpu.VideoClock);
      Figure(4, "Video engine load", gpu.VideoEngineLoad);
      std::fprintf(FOut, "    Fans: %u\n", static_cast<unsigned>(gpu.Fans.size()));
      for (size_t f = 0; f < gpu.Fans.size(); ++f) Figure(6, "Fan " + std::to_string(f + 1), gpu.Fans[f]);
    }
  }

  void PrintDrives() {
    const TQD_DRVMTR_HardwareDrives& drives = FLogger.HardwareDrives();
    std::fprintf(FOut, "Hardware drives: %d\n", FLogger.NumHardwareDrives());
    for (size_t i = 1; i < drives.size(); ++i) {
      const TQD_DRVMTR_AHardwareDrive& drive = drives[i];
      std::fprintf(FOut, "  Drive %u (instance %" PRIu32 "): \"%s\"\n", static_cast<unsigned>(i), drive.Instance,
                   drive.Name.c_str());
      Figure(4, "Read activity", drive.ReadActivity);
      Figure(4, "Read rate", drive.ReadRate);
      Figure(4, "Write activity", drive.WriteActivity);
      Figure(4, "Write rate", drive.WriteRate);
      Figure(4, "Temperature", drive.Temperature);
    }
  }

  const TQD_DataLogger& FLogger;
  std::FILE* FOut;
};

}  // namespace

void PrintModelReport(const TQD_DataLogger& ALogger, std::FILE* AOut) { TModelPrinter(ALogger, AOut).Print(); }
