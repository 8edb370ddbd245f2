// The network interface logger against a scripted interface table.
#include <gtest/gtest.h>

#include "allocation_counter.h"
#include "sim/fake_ports.h"
#include "collector/nif_logger.h"

namespace {

const TQD_GUID kGuidA = MakeGuid(1);
const TQD_GUID kGuidB = MakeGuid(2);

// The newest upload and download entries of an interface.
uint64_t NewestUp(TQD_NIFLogger& ALogger, const TQD_GUID& AGUID) {
  return ALogger.GetUploadValue(AGUID, ALogger.BufferLen() - 1);
}
uint64_t NewestDown(TQD_NIFLogger& ALogger, const TQD_GUID& AGUID) {
  return ALogger.GetDownloadValue(AGUID, ALogger.BufferLen() - 1);
}

}  // namespace

TEST(NIFLogger, BufferLengthBelowSixtyFallsBackTo180) {
  TFakeNetwork net;
  EXPECT_EQ(TQD_NIFLogger(net, 30).BufferLen(), 180u);
  EXPECT_EQ(TQD_NIFLogger(net, 59).BufferLen(), 180u);
  EXPECT_EQ(TQD_NIFLogger(net, 60).BufferLen(), 60u);
  EXPECT_EQ(TQD_NIFLogger(net, 3600).BufferLen(), 3600u);
}

TEST(NIFLogger, FirstSampleSetsBaselinesAndRowFields) {
  TFakeNetwork net;
  TQD_IFRow row = MakeIFRow(1, true, 5000, 7000);
  row.InterfaceAndOperStatusFlags = 0x82;  // bit 0 clear: not a hardware interface
  row.TransmitLinkSpeed = 100'000'007;
  row.ReceiveLinkSpeed = 1'000'000'000;
  net.Rows = {row};
  TQD_NIFLogger logger(net, 60);
  ASSERT_EQ(logger.NumInterfaces(), 1u);
  const TQD_SingleInterface& i = logger.InterfaceList()[0];
  EXPECT_FALSE(i.FirstRun);
  EXPECT_EQ(i.ID, kGuidA);
  EXPECT_EQ(i.IFName, "Adapter 1");
  EXPECT_TRUE(i.Enabled);
  EXPECT_FALSE(i.Hardware);
  EXPECT_EQ(i.UploadBW, 12'500'000u);  // bits to bytes, rounded down
  EXPECT_EQ(i.DownloadBW, 125'000'000u);
  EXPECT_EQ(i.LastOutOctets, 7000u);
  EXPECT_EQ(i.LastInOctets, 5000u);
  // The first sample only sets baselines: the histories stay all zero.
  EXPECT_EQ(logger.GetMaxValue(kGuidA), 0u);
  // Up at its first sighting counts as a change of state.
  EXPECT_TRUE(logger.IFStatusChanged());
}

TEST(NIFLogger, DifferencesShiftIntoTheHistories) {
  TFakeNetwork net;
  net.Rows = {MakeIFRow(1, true, 1000, 2000)};
  TQD_NIFLogger logger(net, 60);
  net.Rows[0].InOctets = 1500;
  net.Rows[0].OutOctets = 2100;
  ASSERT_TRUE(logger.GetNIFInfo());
  EXPECT_FALSE(logger.IFStatusChanged());
  EXPECT_EQ(NewestUp(logger, kGuidA), 100u);
  EXPECT_EQ(NewestDown(logger, kGuidA), 500u);

  net.Rows[0].InOctets = 1800;  // out unchanged: upload entry 0
  ASSERT_TRUE(logger.GetNIFInfo());
  EXPECT_EQ(NewestUp(logger, kGuidA), 0u);
  EXPECT_EQ(NewestDown(logger, kGuidA), 300u);
  // The earlier entries moved one place towards the oldest end.
  EXPECT_EQ(logger.GetUploadValue(kGuidA, 58), 100u);
  EXPECT_EQ(logger.GetDownloadValue(kGuidA, 58), 500u);
  EXPECT_EQ(logger.GetDownloadValue(kGuidA, 57), 0u);
  EXPECT_EQ(logger.GetMaxValue(kGuidA), 500u);

  // Out of range indexes give 0, never another entry.
  EXPECT_EQ(logger.GetDownloadValue(kGuidA, -1), 0u);
  EXPECT_EQ(logger.GetDownloadValue(kGuidA, 60), 0u);

  // A full buffer drops the oldest entry.
  for (int s = 0; s < 60; ++s) {
    net.Rows[0].InOctets += 1;
    logger.GetNIFInfo();
  }
  EXPECT_EQ(logger.GetDownloadValue(kGuidA, 0), 1u);
  EXPECT_EQ(logger.GetMaxValue(kGuidA), 1u);
}

TEST(NIFLogger, CounterGoingBackwardsGivesZeroAndANewBaseline) {
  TFakeNetwork net;
  net.Rows = {MakeIFRow(1, true, 0xFFFFFFFFFFFFFF00ull, 1'000'000)};
  TQD_NIFLogger logger(net, 60);
  net.Rows[0].InOctets = 0x10;       // 64-bit wrap
  net.Rows[0].OutOctets = 200;       // adapter reset
  logger.GetNIFInfo();
  EXPECT_EQ(NewestDown(logger, kGuidA), 0u);
  EXPECT_EQ(NewestUp(logger, kGuidA), 0u);
  net.Rows[0].InOctets = 0x30;
  net.Rows[0].OutOctets = 260;
  logger.GetNIFInfo();
  EXPECT_EQ(NewestDown(logger, kGuidA), 0x20u);
  EXPECT_EQ(NewestUp(logger, kGuidA), 60u);
}

TEST(NIFLogger, StatusChangedTracksUpAndDownPerSample) {
  TFakeNetwork net;
  net.Rows = {MakeIFRow(1, true)};
  TQD_NIFLogger logger(net, 60);
  EXPECT_TRUE(logger.IFStatusChanged());
  logger.GetNIFInfo();
  EXPECT_FALSE(logger.IFStatusChanged());

  // A new interface that is down changes nothing; one that is up does.
  net.Rows.push_back(MakeIFRow(2, false));
  logger.GetNIFInfo();
  EXPECT_FALSE(logger.IFStatusChanged());
  net.Rows[1].OperStatus = 1;
  logger.GetNIFInfo();
  EXPECT_TRUE(logger.IFStatusChanged());
  EXPECT_TRUE(logger.InterfaceList()[1].Enabled);
  EXPECT_FALSE(logger.InterfaceList()[1].LastEnabled);

  // Dormant (5) is not up.
  net.Rows[0].OperStatus = 5;
  logger.GetNIFInfo();
  EXPECT_TRUE(logger.IFStatusChanged());
  EXPECT_FALSE(logger.InterfaceList()[0].Enabled);
}

TEST(NIFLogger, InterfacesAreKeyedByGuidAndNeverRemoved) {
  TFakeNetwork net;
  net.Rows = {MakeIFRow(1, true, 100, 100), MakeIFRow(2, true, 100, 100)};
  TQD_NIFLogger logger(net, 60);
  // The table's order changes and a description is renamed: the entries follow the GUID.
  net.Rows = {MakeIFRow(2, true, 150, 100), MakeIFRow(1, true, 110, 100)};
  net.Rows[0].Description = "Renamed";
  logger.GetNIFInfo();
  ASSERT_EQ(logger.NumInterfaces(), 2u);
  EXPECT_EQ(logger.InterfaceList()[0].ID, kGuidA);
  EXPECT_EQ(NewestDown(logger, kGuidA), 10u);
  EXPECT_EQ(NewestDown(logger, kGuidB), 50u);
  EXPECT_EQ(logger.InterfaceList()[1].IFName, "Renamed");

  // B vanishes: it keeps its state and its history stops moving.
  net.Rows = {MakeIFRow(1, true, 120, 100)};
  logger.GetNIFInfo();
  ASSERT_EQ(logger.NumInterfaces(), 2u);
  EXPECT_TRUE(logger.InterfaceList()[1].Enabled);
  EXPECT_EQ(NewestDown(logger, kGuidB), 50u);
}

TEST(NIFLogger, UnknownGuidIsAppendedEmpty) {
  TFakeNetwork net;
  net.Rows = {MakeIFRow(1, true)};
  TQD_NIFLogger logger(net, 90);
  const TQD_GUID unknown = MakeGuid(9);
  EXPECT_EQ(logger.GetMaxValue(unknown), 0u);
  ASSERT_EQ(logger.NumInterfaces(), 2u);
  EXPECT_EQ(logger.GetIndexOfGuid(unknown), 1u);
  EXPECT_EQ(logger.NumInterfaces(), 2u);
  const TQD_SingleInterface i = logger.GetSingleInterface(unknown);
  EXPECT_TRUE(i.FirstRun);
  EXPECT_EQ(i.ID, unknown);
  EXPECT_TRUE(i.IFName.empty());
  EXPECT_FALSE(i.Enabled);
  EXPECT_EQ(i.UploadValues.size(), 90u);
  EXPECT_EQ(i.DownloadValues.size(), 90u);
  // When it later shows up, its first sample still only sets the baselines.
  net.Rows.push_back(MakeIFRow(9, false, 1'000'000, 1'000'000));
  logger.GetNIFInfo();
  EXPECT_EQ(logger.GetMaxValue(unknown), 0u);
  EXPECT_EQ(logger.NumInterfaces(), 2u);
}

TEST(NIFLogger, FailedSampleKeepsThePreviousRows) {
  TFakeNetwork net;
  net.Rows = {MakeIFRow(1, true, 100, 100)};
  TQD_NIFLogger logger(net, 60);
  net.Rows[0].InOctets = 400;
  logger.GetNIFInfo();
  net.Fails = true;
  EXPECT_FALSE(logger.GetNIFInfo());
  // The old rows are replayed: same counters, so a zero entry and no change of state.
  EXPECT_EQ(NewestDown(logger, kGuidA), 0u);
  EXPECT_EQ(logger.GetDownloadValue(kGuidA, 58), 300u);
  EXPECT_FALSE(logger.IFStatusChanged());
  // An empty table is a failure too and also keeps the rows.
  net.Fails = false;
  net.Rows.clear();
  EXPECT_FALSE(logger.GetNIFInfo());
  EXPECT_TRUE(logger.InterfaceList()[0].Enabled);
  EXPECT_EQ(logger.GetDownloadValue(kGuidA, 57), 300u);
}

TEST(NIFLogger, SetBufferLenKeepsTheOldestEntries) {
  TFakeNetwork net;
  net.Rows = {MakeIFRow(1, true, 0, 0)};
  TQD_NIFLogger logger(net, 180);
  // Fill all 180 entries with 1..180 (oldest first).
  for (uint64_t v = 1; v <= 180; ++v) {
    net.Rows[0].InOctets += v;
    logger.GetNIFInfo();
  }
  ASSERT_EQ(logger.GetDownloadValue(kGuidA, 0), 1u);
  ASSERT_EQ(NewestDown(logger, kGuidA), 180u);

  logger.SetBufferLen(59);
  logger.SetBufferLen(180);
  EXPECT_EQ(logger.BufferLen(), 180u);
  EXPECT_EQ(logger.InterfaceList()[0].DownloadValues.size(), 180u);

  logger.SetBufferLen(60);
  EXPECT_EQ(logger.BufferLen(), 60u);
  EXPECT_EQ(logger.InterfaceList()[0].UploadValues.size(), 60u);
  EXPECT_EQ(logger.GetDownloadValue(kGuidA, 0), 1u);
  EXPECT_EQ(NewestDown(logger, kGuidA), 60u);
  EXPECT_EQ(logger.GetDownloadValue(kGuidA, 60), 0u);

  // Growing appends zeros after the newest entry; new interfaces get the new length.
  logger.SetBufferLen(100);
  EXPECT_EQ(logger.GetDownloadValue(kGuidA, 59), 60u);
  EXPECT_EQ(logger.GetDownloadValue(kGuidA, 60), 0u);
  EXPECT_EQ(NewestDown(logger, kGuidA), 0u);
  EXPECT_EQ(logger.GetSingleInterface(kGuidB).DownloadValues.size(), 100u);
  net.Rows[0].InOctets += 7;
  logger.GetNIFInfo();
  EXPECT_EQ(NewestDown(logger, kGuidA), 7u);
  EXPECT_EQ(logger.GetDownloadValue(kGuidA, 58), 60u);
}

TEST(NIFLogger, ASampleAllocatesNothingOnceInterfacesAreKnown) {
  TFakeNetwork net;
  net.Rows = {MakeIFRow(1, true, 0, 0), MakeIFRow(2, false, 0, 0)};
  // Longer than any short-string buffer, as real adapter names are.
  net.Rows[0].Description = "Intel(R) Ethernet Connection (7) I219-V with a long name";
  net.Rows[1].Description = "Microsoft Wi-Fi Direct Virtual Adapter #2, also long";
  TQD_NIFLogger logger(net, 600);
  logger.GetNIFInfo();
  bool allRead = true;
  const long before = HeapAllocations();
  for (int s = 0; s < 10; ++s) {
    net.Rows[0].InOctets += 1000;
    net.Rows[1].OutOctets += 10;
    allRead = logger.GetNIFInfo() && allRead;
  }
  const long allocations = HeapAllocations() - before;
  EXPECT_TRUE(allRead);
  EXPECT_EQ(allocations, 0);
  EXPECT_EQ(NewestDown(logger, kGuidA), 1000u);
}

TEST(NIFLogger, GuidTextUsesTheSystemByteOrder) {
  TQD_GUID g{};
  for (size_t i = 0; i < g.size(); ++i) g[i] = static_cast<uint8_t>(i);
  EXPECT_EQ(GuidToText(g), "{03020100-0504-0706-0809-0A0B0C0D0E0F}");
}
