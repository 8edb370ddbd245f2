// The network port on Windows: the interface table of GetIfTable2 (IP Helper),
// reduced to the fields the network interface logger uses.
#pragma once

#include <string>

#include "collector/ports.h"

class TQD_NetworkWin32 final : public TQD_NetworkPort {
 public:
  bool GetIfTable(std::vector<TQD_IFRow>& ARows) override;
  // The reason for the last failed call ("" after a success), for diagnostics.
  const std::string& LastError() const { return FLastError; }

 private:
  std::string FLastError;
};
