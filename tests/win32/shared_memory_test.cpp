// The real shared-memory port against a block published in this process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "sim/block_writer.h"
#include "collector/data_logger.h"
#include "sim/fake_ports.h"
#include "collector/shared_memory_win32.h"
#include "base/win32_handles_win32.h"

namespace {

// Publishes a block under HWiNFO's name for the lifetime of the object.
class TPublishedBlock {
 public:
  explicit TPublishedBlock(const std::vector<uint8_t>& ABytes) {
    FMapping = TQD_KernelHandle(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                   static_cast<DWORD>(ABytes.size()),
                                                   hwinfo_sm2::kMappingNameW));
    EXPECT_TRUE(FMapping) << SystemErrorText(GetLastError());
    FView = TQD_ViewOfFile(MapViewOfFile(FMapping.Get(), FILE_MAP_WRITE, 0, 0, 0));
    EXPECT_TRUE(FView);
    std::memcpy(FView.Get(), ABytes.data(), ABytes.size());
  }
  uint8_t* Bytes() { return static_cast<uint8_t*>(FView.Get()); }

 private:
  TQD_KernelHandle FMapping;
  TQD_ViewOfFile FView;
};

TSF_Block SmallBlock() {
  TSF_Block b;
  b.PollTime = 1700000000;
  b.Sensors = {{0xF0000300, 0, "CPU [#0]: Intel Core i7", ""}};
  b.Readings = {{7, 0, 0x7000000, "Total CPU Usage", "", "%", 12.5, 1, 99, 30},
                {1, 0, 0x1000000, "CPU Package", "", "\xC2\xB0" "C", 45.5, 30, 80, 50}};
  return b;
}

struct RealMemoryCollector : TFakeCollector {
  TQD_SharedMemoryWin32 Real;
  TQD_CollectorPorts RealPorts() {
    TQD_CollectorPorts p = Ports();
    p.SharedMemory = &Real;
    return p;
  }
};

}  // namespace

TEST(SharedMemoryWin32, ReadsAPublishedBlock) {
  TPublishedBlock block(WriteBlock(SmallBlock()));
  RealMemoryCollector c;
  TQD_DataLogger logger(c.RealPorts(), false, 180, 2000);
  logger.HWiPolling();
  ASSERT_EQ(logger.LastHWiPollingStatus(), hwsOK);
  ASSERT_EQ(logger.ReadingList().size(), 3u);
  EXPECT_EQ(logger.ReadingList()[1].szLabelOrig, "Total CPU Usage");
  EXPECT_EQ(logger.ReadingList()[2].Value, 45.5);
  // The ANSI text arrives as UTF-8 and matches the unit table's entry.
  EXPECT_EQ(logger.GetUnit(2), 5);
  EXPECT_DOUBLE_EQ(logger.LastHWiPollingTime(), 25569.0 + 1700000000.0 / 86400.0);
  EXPECT_EQ(logger.NumCPUs(), 1);
}

TEST(SharedMemoryWin32, DeadBlockAndMissingMapping) {
  RealMemoryCollector c;
  TQD_DataLogger logger(c.RealPorts(), false, 180, 2000);
  logger.HWiPolling();
  EXPECT_EQ(logger.LastHWiPollingStatus(), hwsNoMapping);
  {
    TSF_Block b = SmallBlock();
    std::memcpy(b.Signature, "DEAD", 4);
    TPublishedBlock block(WriteBlock(b));
    logger.HWiPolling();
    EXPECT_EQ(logger.LastHWiPollingStatus(), hwsDead);
    EXPECT_EQ(logger.ReadingList().size(), 1u);
  }
  // The mapping is gone with its last handle: the poll held none of its own.
  logger.HWiPolling();
  EXPECT_EQ(logger.LastHWiPollingStatus(), hwsNoMapping);
}

TEST(SharedMemoryWin32, ViewLengthIsTheRealMappingNotTheHeader) {
  // A header claiming a million readings inside a one-page mapping.
  std::vector<uint8_t> bytes = WriteBlock(SmallBlock());
  const uint32_t huge = 1000000;
  std::memcpy(bytes.data() + hwinfo_sm2::kOffReadingCount, &huge, 4);
  TPublishedBlock block(bytes);
  TQD_SharedMemoryWin32 port;
  auto view = port.OpenView(hwinfo_sm2::kMappingName);
  ASSERT_TRUE(view);
  EXPECT_GE(view->Length(), bytes.size());
  EXPECT_LT(view->Length(), size_t{1} << 20);
  RealMemoryCollector c;
  TQD_DataLogger logger(c.RealPorts(), false, 180, 2000);
  logger.HWiPolling();
  EXPECT_EQ(logger.LastHWiPollingStatus(), hwsReadError);
}
