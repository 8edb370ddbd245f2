// Test doubles for the collector's ports; see fake_ports.h.
#include "sim/fake_ports.h"

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

std::string TFakeSystemInfo::CPUVendorText() {
  if (VendorText) return *VendorText;
  return CPU.Vendor == 1 ? "GenuineIntel" : CPU.Vendor == 2 ? "AuthenticAMD" : "HygonGenuine";
}

bool TFakeSystemInfo::GetProcessorRelationships(std::vector<uint32_t>& ARelationships) {
  if (TopologyFails) return false;
  ARelationships.clear();
  for (uint32_t p = 0; p < CPU.NumCPUs; ++p) ARelationships.push_back(3);
  for (uint32_t c = 0; c < CPU.NumPhysicalCores; ++c) {
    ARelationships.push_back(0);
    ARelationships.push_back(2);  // a cache entry per core
  }
  ARelationships.push_back(1);  // one NUMA node
  return true;
}

bool TFakeSystemInfo::GetInstalledMemoryKB(uint64_t& AKilobytes) {
  if (RAMFails || InstalledFails) return false;
  AKilobytes = RAM.TotalInstalled / 1024;
  return true;
}

bool TFakeSystemInfo::GetMemoryStatus(uint64_t& ATotalPhys, uint64_t& AAvailPhys) {
  if (RAMFails) return false;
  ATotalPhys = RAM.TotalReported;
  AAvailPhys = RAM.Available;
  return true;
}

std::vector<std::string> TFakeSystemInfo::GetLogicalDriveRoots() {
  std::vector<std::string> roots;
  if (DrivesFail) return roots;
  for (const TQD_DRVMTR_ALogicalDrive& d : Drives) roots.push_back(d.Letter);
  return roots;
}

const TQD_DRVMTR_ALogicalDrive* TFakeSystemInfo::Find(const std::string& ARoot) const {
  for (const TQD_DRVMTR_ALogicalDrive& d : Drives)
    if (!d.Letter.empty() && !ARoot.empty() && d.Letter[0] == ARoot[0]) return &d;
  return nullptr;
}

uint32_t TFakeSystemInfo::GetDriveTypeCode(const std::string& ARoot) {
  const TQD_DRVMTR_ALogicalDrive* d = Find(ARoot);
  return d && d->Fixed ? 3 : 2;  // fixed or removable
}

bool TFakeSystemInfo::GetVolumeLabel(const std::string& ARoot, std::string& ALabel) {
  QueriedRoots.push_back(ARoot);
  const TQD_DRVMTR_ALogicalDrive* d = Find(ARoot);
  if (!d || d->Name.empty()) return false;
  ALabel = d->Name;
  return true;
}

bool TFakeSystemInfo::GetDiskSpace(const std::string& ARoot, int64_t& ATotal, int64_t& AFree) {
  QueriedRoots.push_back(ARoot);
  const TQD_DRVMTR_ALogicalDrive* d = Find(ARoot);
  if (!d || d->TotalSpace < 0) return false;
  ATotal = d->TotalSpace;
  AFree = d->FreeSpace;
  return true;
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
