// The snapshot copy: what a poll makes of good, odd and hostile blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "sim/block_writer.h"
#include "collector/hwinfo_sm2.h"

using namespace hwinfo_sm2;

namespace {

TSF_Block TwoSensorBlock() {
  TSF_Block b;
  b.PollTime = 1700000000;
  b.Sensors = {{0xF0000300, 0, "CPU [#0]: Intel Core i7", "My CPU"},
               {0xE0002000, 1, "GPU [#0]: NVIDIA GeForce RTX 3070: ", ""}};
  b.Readings = {{7, 0, 0x7000000, "Total CPU Usage", "", "%", 12.5, 1, 99, 30},
                {1, 1, 0x1000000, "GPU Temperature", "GPU Temp", "\xC2\xB0" "C", 45.5, 30, 80, 50},
                {6, 0, 0x6000000, "Core 0 Clock", "", "MHz", 4700, 800, 5000, 3000}};
  return b;
}

struct Snapshot {
  TQD_SensorList Sensors;
  TQD_ReadingsList Readings;
  uint8_t Status = hwsNotPolled;
  double PollTime = -1;

  void Read(const std::vector<uint8_t>& ABytes) { Read(ABytes.data(), ABytes.size()); }
  void Read(const uint8_t* AData, size_t ALength) {
    ReadHWiNFOSnapshot(AData, ALength, DecodeWindows1252, Sensors, Readings, Status, PollTime);
  }
  bool Empty() const {
    return Sensors.empty() && Readings.size() == 1 && Readings[0].szLabelOrig == "-";
  }
};

void Put32(std::vector<uint8_t>& ABytes, size_t AOffset, uint32_t AValue) {
  std::memcpy(ABytes.data() + AOffset, &AValue, 4);
}

}  // namespace

TEST(Snapshot, CopiesSensorsAndReadingsWithTheirSensorsIdentity) {
  Snapshot s;
  s.Read(WriteBlock(TwoSensorBlock()));
  ASSERT_EQ(s.Status, hwsOK);
  EXPECT_DOUBLE_EQ(s.PollTime, 25569.0 + 1700000000.0 / 86400.0);
  ASSERT_EQ(s.Sensors.size(), 2u);
  EXPECT_EQ(s.Sensors[0].szSensorNameUser, "My CPU");
  EXPECT_EQ(s.Sensors[1].szSensorNameOrig, "GPU [#0]: NVIDIA GeForce RTX 3070: ");
  ASSERT_EQ(s.Readings.size(), 4u);
  EXPECT_EQ(s.Readings[0].szLabelOrig, "-");
  EXPECT_EQ(s.Readings[0].szUnit, "-");
  const TQD_ReadingsListItem& gpu = s.Readings[2];
  EXPECT_EQ(gpu.URID(), TQD_URID::CreateNew(0xE0002000, 1, 0x1000000));
  EXPECT_EQ(gpu.dwSensorIndex, 1u);
  EXPECT_EQ(gpu.tReading, 1u);
  EXPECT_EQ(gpu.szSensorNameOrig, s.Sensors[1].szSensorNameOrig);
  EXPECT_EQ(gpu.szLabelUser, "GPU Temp");
  EXPECT_EQ(gpu.szUnit, "\xC2\xB0" "C");  // 0xB0 in the block, UTF-8 here
  EXPECT_EQ(gpu.Value, 45.5);
  EXPECT_EQ(gpu.ValueMin, 30);
  EXPECT_EQ(gpu.ValueMax, 80);
  EXPECT_EQ(gpu.ValueAvg, 50);
}

TEST(Snapshot, EmptyBlockIsASuccessWithOnlyThePlaceholder) {
  TSF_Block b;
  Snapshot s;
  s.Read(WriteBlock(b));
  EXPECT_EQ(s.Status, hwsOK);
  EXPECT_TRUE(s.Empty());
}

TEST(Snapshot, BadSensorIndexLeavesAnEmptyItemAndCopiesTheRest) {
  TSF_Block b = TwoSensorBlock();
  b.Readings[1].dwSensorIndex = 2;  // == number of sensors
  Snapshot s;
  s.Read(WriteBlock(b));
  EXPECT_EQ(s.Status, hwsReadError);
  ASSERT_EQ(s.Readings.size(), 4u);
  EXPECT_EQ(s.Readings[2].dwReadingID, 0u);
  EXPECT_EQ(s.Readings[2].szLabelOrig, "");
  EXPECT_EQ(s.Readings[2].Value, 0);
  EXPECT_EQ(s.Readings[3].szLabelOrig, "Core 0 Clock");
}

TEST(Snapshot, FullLengthTextsWithoutTerminatorKeepAllTheirBytes) {
  TSF_Block b = TwoSensorBlock();
  b.Sensors[0].szSensorNameOrig = std::string(128, 'N');
  b.Readings[0].szUnit = std::string(16, 'u');
  b.Readings[0].szLabelOrig = std::string(200, 'L');  // cut to the field by the writer
  Snapshot s;
  s.Read(WriteBlock(b));
  ASSERT_EQ(s.Status, hwsOK);
  EXPECT_EQ(s.Sensors[0].szSensorNameOrig, std::string(128, 'N'));
  EXPECT_EQ(s.Readings[1].szUnit, std::string(16, 'u'));
  EXPECT_EQ(s.Readings[1].szLabelOrig, std::string(128, 'L'));
  // The unit field is followed by the value: its bytes must not leak into the text.
  EXPECT_EQ(s.Readings[1].Value, 12.5);
}

TEST(Snapshot, LargerElementsAreSteppedOver) {
  TSF_Block b = TwoSensorBlock();
  b.SensorElementSize = 392;
  b.ReadingElementSize = 460;
  Snapshot s;
  s.Read(WriteBlock(b));
  ASSERT_EQ(s.Status, hwsOK);
  ASSERT_EQ(s.Readings.size(), 4u);
  EXPECT_EQ(s.Readings[3].szLabelOrig, "Core 0 Clock");
  EXPECT_EQ(s.Readings[3].Value, 4700);
  EXPECT_EQ(s.Readings[2].szSensorNameOrig, "GPU [#0]: NVIDIA GeForce RTX 3070: ");
}

TEST(Snapshot, DeadBlockKeepsThePreviousPollTime) {
  Snapshot s;
  s.Read(WriteBlock(TwoSensorBlock()));
  const double before = s.PollTime;
  TSF_Block dead = TwoSensorBlock();
  std::memcpy(dead.Signature, "DEAD", 4);
  dead.PollTime = 1800000000;
  s.Read(WriteBlock(dead));
  EXPECT_EQ(s.Status, hwsDead);
  EXPECT_EQ(s.PollTime, before);
  EXPECT_TRUE(s.Empty());
}

TEST(Snapshot, UnknownSignatureIsAFailureNotTheLastStatus) {
  // A poll that read nothing must not report the previous poll's success.
  Snapshot s;
  s.Read(WriteBlock(TwoSensorBlock()));
  ASSERT_EQ(s.Status, hwsOK);
  TSF_Block odd = TwoSensorBlock();
  std::memcpy(odd.Signature, "XXXX", 4);
  s.Read(WriteBlock(odd));
  EXPECT_EQ(s.Status, hwsReadError);
  EXPECT_TRUE(s.Empty());
}

TEST(Snapshot, HostileHeadersAreRejectedWithoutReadingOutsideTheView) {
  const std::vector<uint8_t> good = WriteBlock(TwoSensorBlock());
  struct Case {
    const char* What;
    size_t Offset;
    uint32_t Value;
  } cases[] = {
      {"reading count far beyond the view", kOffReadingCount, 1000000},
      {"sensor count far beyond the view", kOffSensorCount, 0xFFFFFFFF},
      {"reading section past the end", kOffReadingSection, 0xFFFFFF00},
      {"sensor section past the end", kOffSensorSection, static_cast<uint32_t>(good.size())},
      {"reading elements smaller than their fields", kOffReadingSize, 315},
      {"sensor elements smaller than their fields", kOffSensorSize, 100},
      {"zero-sized reading elements", kOffReadingSize, 0},
      // 0x01000000 × 0x100 wraps a 32-bit product to 0.
      {"size times count wrapping 32 bits", kOffReadingSize, 0x01000000},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = good;
    Put32(bytes, c.Offset, c.Value);
    if (c.Offset == kOffReadingSize && c.Value == 0x01000000) Put32(bytes, kOffReadingCount, 0x100);
    Snapshot s;
    s.PollTime = 7;
    s.Read(bytes);
    EXPECT_EQ(s.Status, hwsReadError) << c.What;
    EXPECT_TRUE(s.Empty()) << c.What;
    EXPECT_EQ(s.PollTime, 7) << c.What;
  }
}

TEST(Snapshot, TruncatedViewsAreFailures) {
  const std::vector<uint8_t> good = WriteBlock(TwoSensorBlock());
  for (size_t len : {size_t{0}, size_t{3}, size_t{4}, size_t{43}, good.size() - 1}) {
    // An exact-size copy: reading past it would be caught by sanitizers.
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(len));
    Snapshot s;
    s.Read(cut.data(), cut.size());
    EXPECT_EQ(s.Status, hwsReadError) << len;
    EXPECT_TRUE(s.Empty()) << len;
  }
  Snapshot s;
  s.Read(nullptr, 100);
  EXPECT_EQ(s.Status, hwsReadError);
}

TEST(Snapshot, AShorterPollAfterALongerOneLeavesNoStaleItems) {
  Snapshot s;
  s.Read(WriteBlock(TwoSensorBlock()));
  TSF_Block small = TwoSensorBlock();
  small.Readings.resize(1);
  small.Sensors.resize(1);
  s.Read(WriteBlock(small));
  ASSERT_EQ(s.Status, hwsOK);
  EXPECT_EQ(s.Sensors.size(), 1u);
  ASSERT_EQ(s.Readings.size(), 2u);
  EXPECT_EQ(s.Readings[0].szLabelOrig, "-");
}

// Texts are kept from poll to poll when their bytes did not change; every
// change, however small, and bytes that only look like the kept text, must
// come through.
TEST(Snapshot, TextsFollowEveryChangeBetweenPolls) {
  const std::string full(kLabelLength, 'L');  // no terminator in the block
  const struct {
    std::string First, Second;
  } cases[] = {
      {"Core 0 Clock", "Core 0 Clock"},
      {"Core 0 Clock", "Core 0 Clock Max"},  // longer, same start
      {"Core 0 Clock", "Core 0"},            // shorter, a prefix
      {"Core 0 Clock", "Core 0 Clocx"},      // the last byte only
      {"Core 0 Clock", "Xore 0 Clock"},      // the first byte only
      {"\xC2\xB0" "C", "\xC3\x82\xC2\xB0" "C"},  // new bytes equal to the old decoded text
      {full, full},
      {full, full.substr(1) + "M"},
      {"", "Fan"},
      {"Fan", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.First + " -> " + c.Second);
    Snapshot s;
    TSF_Block b = TwoSensorBlock();
    b.Readings[2].szLabelOrig = c.First;
    b.Readings[1].szUnit = c.First.substr(0, kUnitLength);
    s.Read(WriteBlock(b));
    b.Readings[2].szLabelOrig = c.Second;
    b.Readings[1].szUnit = c.Second.substr(0, kUnitLength);
    s.Read(WriteBlock(b));
    ASSERT_EQ(s.Status, hwsOK);
    EXPECT_EQ(s.Readings[3].szLabelOrig, c.Second);
    EXPECT_EQ(s.Readings[2].szUnit, c.Second.substr(0, kUnitLength));
  }
}

TEST(AnsiText, Windows1252DecodesToUtf8) {
  std::string out;
  const char text[] = {'4', '5', ' ', '\xB0', 'C', ' ', '\x80', '\x96'};
  DecodeWindows1252(text, sizeof text, out);
  EXPECT_EQ(out, "45 \xC2\xB0" "C \xE2\x82\xAC\xE2\x80\x93");
  EXPECT_EQ(Utf8ToWindows1252(out), std::string(text, sizeof text));
}
