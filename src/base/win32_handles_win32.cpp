// Text conversions and error texts for the Win32 boundary; see win32_handles_win32.h.
#include "base/win32_handles_win32.h"

#include <atomic>

namespace {
// Kernel handles and views are also taken on worker and pool threads.
std::atomic<long> GLiveHandles[hkCount];
}  // namespace

void CountHandle(TQD_HandleKind AKind, long ADelta) { GLiveHandles[AKind].fetch_add(ADelta, std::memory_order_relaxed); }
long LiveHandleCount(TQD_HandleKind AKind) { return GLiveHandles[AKind].load(std::memory_order_relaxed); }

namespace {

bool ConvertUtf8(const std::string& AText, DWORD AFlags, std::wstring& AWide) {
  AWide.clear();
  if (AText.empty()) return true;
  const int length = static_cast<int>(AText.size());
  const int n = MultiByteToWideChar(CP_UTF8, AFlags, AText.data(), length, nullptr, 0);
  if (n <= 0) return false;
  AWide.resize(static_cast<size_t>(n));
  MultiByteToWideChar(CP_UTF8, AFlags, AText.data(), length, AWide.data(), n);
  return true;
}

}  // namespace

std::wstring Utf8ToWide(const std::string& AText) {
  std::wstring w;
  ConvertUtf8(AText, 0, w);
  return w;
}

bool Utf8ToWideExact(const std::string& AText, std::wstring& AWide) {
  return ConvertUtf8(AText, MB_ERR_INVALID_CHARS, AWide);
}

std::string WideToUtf8(const wchar_t* AText, size_t ALength) {
  if (ALength == 0) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, AText, static_cast<int>(ALength), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, AText, static_cast<int>(ALength), s.data(), n, nullptr, nullptr);
  return s;
}

std::string SystemErrorText(DWORD ACode) {
  struct TLocalFree {
    void operator()(wchar_t* ABuffer) const { LocalFree(ABuffer); }
  };
  wchar_t* raw = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, ACode, 0, reinterpret_cast<wchar_t*>(&raw), 0, nullptr);
  const TQD_UniqueHandle<wchar_t*, TLocalFree> buffer(raw);
  std::string text;
  if (n && raw) {
    while (n > 0 && (raw[n - 1] == L'\r' || raw[n - 1] == L'\n' || raw[n - 1] == L' ')) --n;
    text = WideToUtf8(raw, n);
  }
  if (text.empty()) text = "error " + std::to_string(ACode);
  return text;
}
