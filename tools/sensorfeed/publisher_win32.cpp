// Publishing under HWiNFO's name and stopping; see publisher_win32.h.
#include "sensorfeed/publisher_win32.h"

#include <atomic>
#include <cstring>

#include "collector/hwinfo_sm2.h"

bool TSF_Publisher::Create(size_t ALength, std::string& AError) {
  if (ALength < 4 || ALength > 0x7FFFFFFF) {
    AError = "a block of " + std::to_string(ALength) + " bytes cannot be published";
    return false;
  }
  SetLastError(ERROR_SUCCESS);
  HANDLE h = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(ALength),
                                hwinfo_sm2::kMappingNameW);
  const DWORD error = GetLastError();
  if (!h) {
    AError = std::string("cannot create ") + hwinfo_sm2::kMappingName + ": " + SystemErrorText(error);
    if (error == ERROR_ACCESS_DENIED)
      AError += ". Creating a Global\\ mapping needs the \"Create global objects\" privilege: run sensorfeed "
                "from an elevated prompt (or HWiNFO, running elevated, publishes it already)";
    return false;
  }
  FMapping = TQD_KernelHandle(h);
  if (error == ERROR_ALREADY_EXISTS) {
    // Writing into someone else's block would corrupt it for its readers.
    FMapping.Reset();
    AError = std::string(hwinfo_sm2::kMappingName) +
             " exists already: HWiNFO or another sensorfeed is publishing (or a reader still holds a stopped "
             "block); stop it first";
    return false;
  }
  FView = TQD_ViewOfFile(MapViewOfFile(FMapping.Get(), FILE_MAP_WRITE, 0, 0, ALength));
  if (!FView) {
    AError = std::string("cannot map ") + hwinfo_sm2::kMappingName + ": " + SystemErrorText(GetLastError());
    FMapping.Reset();
    return false;
  }
  FLength = ALength;
  return true;
}

void TSF_Publisher::Publish(const uint8_t* ABytes, size_t ALength) {
  if (!FView || ALength != FLength) return;
  std::memcpy(Data() + 4, ABytes + 4, ALength - 4);
  std::atomic_thread_fence(std::memory_order_release);
  std::memcpy(Data(), ABytes, 4);
}

void TSF_Publisher::MarkDead() {
  if (FView) std::memcpy(Data(), hwinfo_sm2::kSignatureDead, 4);
}

TSF_StopSignal* TSF_StopSignal::FActive = nullptr;

TSF_StopSignal::TSF_StopSignal()
    : FStop(CreateEventW(nullptr, TRUE, FALSE, nullptr)), FDone(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

TSF_StopSignal::~TSF_StopSignal() {
  if (FInstalled) SetConsoleCtrlHandler(ConsoleHandler, FALSE);
  if (FActive == this) FActive = nullptr;
}

bool TSF_StopSignal::Install(const std::string& AEventName, std::string& AError) {
  if (!FStop || !FDone) {
    AError = "cannot create the stop events: " + SystemErrorText(GetLastError());
    return false;
  }
  if (!AEventName.empty()) {
    // Opens the event when the caller created it first, creates it otherwise.
    FNamed = TQD_KernelHandle(CreateEventW(nullptr, TRUE, FALSE, Utf8ToWide(AEventName).c_str()));
    if (!FNamed) {
      AError = "cannot open the stop event \"" + AEventName + "\": " + SystemErrorText(GetLastError());
      return false;
    }
  }
  FActive = this;
  // Without a console (started detached) there is nothing to handle; not an error.
  FInstalled = SetConsoleCtrlHandler(ConsoleHandler, TRUE) != FALSE;
  return true;
}

bool TSF_StopSignal::Wait(uint32_t AMs) {
  HANDLE handles[2] = {FStop.Get(), FNamed.Get()};
  const DWORD count = FNamed ? 2 : 1;
  // A failed wait stops too: spinning on it would never end.
  return WaitForMultipleObjects(count, handles, FALSE, AMs) != WAIT_TIMEOUT;
}

void TSF_StopSignal::Done() { SetEvent(FDone.Get()); }

BOOL WINAPI TSF_StopSignal::ConsoleHandler(DWORD ACtrlType) {
  TSF_StopSignal* self = FActive;
  if (!self) return FALSE;
  SetEvent(self->FStop.Get());
  if (ACtrlType == CTRL_CLOSE_EVENT || ACtrlType == CTRL_LOGOFF_EVENT || ACtrlType == CTRL_SHUTDOWN_EVENT)
    WaitForSingleObject(self->FDone.Get(), 4000);
  return TRUE;
}
