// The HWiNFO poll on the largest profile beside a plain memcpy of the same
// block: the copy into the readings lists should cost a small multiple of
// touching the bytes once.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "bench_report.h"
#include "collector/data_logger.h"
#include "sim/fake_ports.h"
#include "sim/profiles.h"

namespace {

// A view over a block that stays put: no per-poll copy in the port itself,
// as with a real mapping.
class TStaticMemory : public TQD_SharedMemoryPort {
 public:
  explicit TStaticMemory(std::vector<uint8_t> ABytes) : FBytes(std::move(ABytes)) {}
  std::unique_ptr<TQD_MappedView> OpenView(const std::string&) override {
    return std::make_unique<TView>(FBytes);
  }
  size_t Length() const { return FBytes.size(); }
  const uint8_t* Data() const { return FBytes.data(); }

 private:
  class TView : public TQD_MappedView {
   public:
    explicit TView(const std::vector<uint8_t>& ABytes) : FBytes(ABytes) {}
    const uint8_t* Data() const override { return FBytes.data(); }
    size_t Length() const override { return FBytes.size(); }

   private:
    const std::vector<uint8_t>& FBytes;
  };
  std::vector<uint8_t> FBytes;
};

std::vector<uint8_t> ServerBlock() {
  TSF_Profile p;
  MakeProfile("server", p);
  return WriteBlock(p.Block);
}

void BM_MemcpyServerBlock(benchmark::State& state) {
  const std::vector<uint8_t> block = ServerBlock();
  std::vector<uint8_t> dest(block.size());
  for (auto _ : state) {
    std::memcpy(dest.data(), block.data(), block.size());
    benchmark::DoNotOptimize(dest.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * block.size()));
}
BENCHMARK(BM_MemcpyServerBlock);

void BM_HWiNFOPollServer(benchmark::State& state) {
  TFakeCollector fakes;
  TStaticMemory memory(ServerBlock());
  TQD_CollectorPorts ports = fakes.Ports();
  ports.SharedMemory = &memory;
  TQD_DataLogger logger(ports, false, 180, 2000);
  logger.HWiPolling();  // the first poll builds the model; measure ordinary polls
  for (auto _ : state) {
    logger.HWiPolling();
    benchmark::DoNotOptimize(logger.ReadingList().data());
  }
  state.counters["readings"] = static_cast<double>(logger.ReadingList().size() - 1);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * memory.Length()));
}
BENCHMARK(BM_HWiNFOPollServer);

void BM_ReadingLookupServer(benchmark::State& state) {
  TFakeCollector fakes;
  TStaticMemory memory(ServerBlock());
  TQD_CollectorPorts ports = fakes.Ports();
  ports.SharedMemory = &memory;
  TQD_DataLogger logger(ports, false, 180, 2000);
  logger.HWiPolling();
  const TQD_URID last = logger.ReadingList().back().URID();  // the worst case of a linear scan
  for (auto _ : state) benchmark::DoNotOptimize(logger.GetReadingIndex(last));
}
BENCHMARK(BM_ReadingLookupServer);

TQB_Ratio kPollRatio("BM_HWiNFOPollServer", "BM_MemcpyServerBlock");

}  // namespace
