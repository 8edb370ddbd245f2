// The shared-memory port on Windows: OpenFileMappingW + MapViewOfFile.
#pragma once

#include "collector/ports.h"

class TQD_SharedMemoryWin32 final : public TQD_SharedMemoryPort {
 public:
  std::unique_ptr<TQD_MappedView> OpenView(const std::string& AName) override;
  TQD_AnsiDecoder AnsiDecoder() const override;
};

// Decodes 8-bit text in the system's ANSI code page to UTF-8.
void DecodeAnsiCodePage(const char* AText, size_t ALength, std::string& Out);
