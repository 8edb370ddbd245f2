// The shared-memory port on Windows; see shared_memory_win32.h.
#include "collector/shared_memory_win32.h"

#include "base/win32_handles_win32.h"

namespace {

class TMappedViewWin32 final : public TQD_MappedView {
 public:
  TMappedViewWin32(TQD_KernelHandle AMapping, TQD_ViewOfFile AView, size_t ALength)
      : FMapping(std::move(AMapping)), FView(std::move(AView)), FLength(ALength) {}
  const uint8_t* Data() const override { return static_cast<const uint8_t*>(FView.Get()); }
  size_t Length() const override { return FLength; }

 private:
  // Member order: the view is unmapped before the mapping handle closes.
  TQD_KernelHandle FMapping;
  TQD_ViewOfFile FView;
  size_t FLength;
};

}  // namespace

std::unique_ptr<TQD_MappedView> TQD_SharedMemoryWin32::OpenView(const std::string& AName) {
  TQD_KernelHandle mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, Utf8ToWide(AName).c_str()));
  if (!mapping) return nullptr;
  TQD_ViewOfFile view(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
  if (!view) return nullptr;
  // The header's counts are not to be trusted: the view's real extent is what
  // the memory manager says it is.
  MEMORY_BASIC_INFORMATION info{};
  if (VirtualQuery(view.Get(), &info, sizeof info) != sizeof info) return nullptr;
  return std::make_unique<TMappedViewWin32>(std::move(mapping), std::move(view), info.RegionSize);
}

TQD_AnsiDecoder TQD_SharedMemoryWin32::AnsiDecoder() const { return DecodeAnsiCodePage; }

void DecodeAnsiCodePage(const char* AText, size_t ALength, std::string& Out) {
  // Plain ASCII is the same in every ANSI code page and in UTF-8.
  size_t i = 0;
  while (i < ALength && static_cast<unsigned char>(AText[i]) < 0x80) ++i;
  if (i == ALength) {
    Out.assign(AText, ALength);
    return;
  }
  wchar_t wide[256];  // fields are at most 128 bytes; each byte is at most one UTF-16 unit
  int n = ALength <= 256 ? MultiByteToWideChar(CP_ACP, 0, AText, static_cast<int>(ALength), wide, 256) : 0;
  if (n <= 0) {
    DecodeWindows1252(AText, ALength, Out);
    return;
  }
  Out = WideToUtf8(wide, static_cast<size_t>(n));
}
