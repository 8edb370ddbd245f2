// Reading the host profile's figures; see host_figures_win32.h.
#include "sensorfeed/host_figures_win32.h"

#include <cstring>

#include "collector/system_info_win32.h"

#if defined(_MSC_VER)
#include <intrin.h>
#else
#include <cpuid.h>
#endif

namespace {

// EAX, EBX, ECX, EDX of one CPUID leaf.
void CPUID(unsigned int ALeaf, unsigned int (&ARegs)[4]) {
#if defined(_MSC_VER)
  int r[4];
  __cpuid(r, static_cast<int>(ALeaf));
  for (int i = 0; i < 4; ++i) ARegs[i] = static_cast<unsigned int>(r[i]);
#else
  __cpuid(ALeaf, ARegs[0], ARegs[1], ARegs[2], ARegs[3]);
#endif
}

// The 48-byte brand string (leaves 0x80000002 to 0x80000004), padding
// included; empty when the processor has none.
std::string CPUIDBrandString() {
  unsigned int regs[4] = {0, 0, 0, 0};
  // Leaf 0x80000000 says how far the extended leaves go; older processors stop short of the brand.
  CPUID(0x80000000u, regs);
  if (regs[0] < 0x80000004u) return {};
  char text[48];
  for (unsigned int leaf = 0; leaf < 3; ++leaf) {
    CPUID(0x80000002u + leaf, regs);
    std::memcpy(text + 16 * leaf, regs, 16);  // EAX, EBX, ECX, EDX in that order
  }
  return std::string(text, 48);
}

}  // namespace

TSF_HostFigures ReadHostFigures() {
  TSF_HostFigures figures;
  TQD_SystemInfoWin32 port;
  // A failed read leaves zeros, which the profile builder counts as one.
  QueryCPUInfo(port, figures.CPUInfo);
  QueryRAMInfo(port, false, figures.RAMInfo);
  figures.Brand = CPUIDBrandString();
  return figures;
}
