// Test doubles for the collector's ports; see fake_ports.h.
#include "fake_ports.h"

namespace {

class TFakeView : public TQD_MappedView {
 public:
  TFakeView(std::vector<uint8_t> ABytes, int& ALive) : FBytes(std::move(ABytes)), FLive(ALive) { ++FLive; }
  ~TFakeView() override { --FLive; }
  const uint8_t* Data() const override { return FBytes.data(); }
  size_t Length() const override { return FBytes.size(); }

 private:
  std::vector<uint8_t> FBytes;  // a copy: the view stays valid whatever the test does
  int& FLive;
};

}  // namespace

std::unique_ptr<TQD_MappedView> TFakeSharedMemory::OpenView(const std::string& AName) {
  ++OpenCount;
  LastName = AName;
  if (!Block) return nullptr;
  return std::make_unique<TFakeView>(*Block, LiveViews);
}

void TFakeTimer::SetEnabled(bool AValue) {
  if (AValue && !FEnabled) {
    FCount = 0;
    ++EnableCount;
  }
  FEnabled = AValue;
}

void TFakeTimer::Tick() {
  ++FCount;
  if (OnTimer) OnTimer(*this);
}

std::unique_ptr<TQD_Timer> TFakeTimerFactory::CreateTimer() {
  auto t = std::make_unique<TFakeTimer>();
  Created.push_back(t.get());
  return t;
}

bool TFakeSystemInfo::ReadCPUInfo(TQD_CPUINFO& AInfo) {
  AInfo = CPU;
  return true;
}

bool TFakeSystemInfo::ReadRAMInfo(TQD_RAMINFO& AInfo, bool AIncludeReserved) {
  if (RAMFails) {
    AInfo = TQD_RAMINFO{};
    return false;
  }
  AInfo = RAM;
  AInfo.Total = AIncludeReserved ? RAM.TotalInstalled : RAM.TotalReported;
  return true;
}

bool TFakeSystemInfo::ReadLogicalDrives(TQD_DRVMTR_LogicalDrives& ADrives) {
  ADrives.assign(1, TQD_DRVMTR_ALogicalDrive{});
  if (DrivesFail) return false;
  ADrives.insert(ADrives.end(), Drives.begin(), Drives.end());
  return ADrives.size() > 1;
}

bool TFakeNetwork::GetIfTable(std::vector<TQD_IFRow>& ARows) {
  if (Fails) return false;
  ARows = Rows;
  return true;
}

TQD_GUID MakeGuid(uint8_t ASeed) {
  TQD_GUID g{};
  for (size_t i = 0; i < g.size(); ++i) g[i] = static_cast<uint8_t>(ASeed * 17 + i);
  return g;
}

TQD_IFRow MakeIFRow(uint8_t ASeed, bool AUp, uint64_t AInOctets, uint64_t AOutOctets) {
  TQD_IFRow r;
  r.InterfaceGuid = MakeGuid(ASeed);
  r.Description = "Adapter " + std::to_string(ASeed);
  r.OperStatus = AUp ? 1 : 2;
  r.InterfaceAndOperStatusFlags = 1;
  r.TransmitLinkSpeed = r.ReceiveLinkSpeed = 1000000000;
  r.InOctets = AInOctets;
  r.OutOctets = AOutOctets;
  return r;
}
