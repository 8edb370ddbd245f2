// The length of a recording; see recording.h.
#include "sensorfeed/recording.h"

#include <algorithm>
#include <cstring>

#include "collector/hwinfo_sm2.h"

using namespace hwinfo_sm2;

namespace {

uint32_t U32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

}  // namespace

size_t RecordLength(const uint8_t* AView, size_t AViewLength) {
  if (AView == nullptr || AViewLength < kHeaderLength) return AView ? AViewLength : 0;
  const bool known = std::memcmp(AView, kSignatureActive, 4) == 0 || std::memcmp(AView, kSignatureDead, 4) == 0;
  if (!known) return AViewLength;
  // 64-bit: offset + count × size of 32-bit fields cannot wrap.
  const uint64_t sensorsEnd =
      uint64_t{U32(AView + kOffSensorSection)} + uint64_t{U32(AView + kOffSensorCount)} * U32(AView + kOffSensorSize);
  const uint64_t readingsEnd = uint64_t{U32(AView + kOffReadingSection)} +
                               uint64_t{U32(AView + kOffReadingCount)} * U32(AView + kOffReadingSize);
  const uint64_t end = std::max<uint64_t>({kHeaderLength, sensorsEnd, readingsEnd});
  return end <= AViewLength ? static_cast<size_t>(end) : AViewLength;
}
