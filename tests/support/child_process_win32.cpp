// Child processes for Windows tests; see child_process_win32.h.
#include "child_process_win32.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

std::wstring BinDir() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L"\\/") + 1);
}

std::wstring TempFile(const std::wstring& AName) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + L"quendal_test_" + std::to_wstring(GetCurrentProcessId()) + L"_" + AName;
}

std::string ReadFileBytes(const std::wstring& AName) {
  std::ifstream f(WideToUtf8(AName), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

TChild::TChild(const std::wstring& AArgs, const std::wstring& AProgram)
    : FLog(TempFile(L"log" + std::to_wstring(++FCount) + L".txt")) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE log = CreateFileW(FLog.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(log, INVALID_HANDLE_VALUE);
  TQD_KernelHandle logHandle(log);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = si.hStdError = log;
  std::wstring command = L"\"" + BinDir() + AProgram + L"\" " + AArgs;
  PROCESS_INFORMATION pi{};
  const BOOL ok = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  EXPECT_TRUE(ok) << SystemErrorText(GetLastError());
  if (ok) {
    FProcess = TQD_KernelHandle(pi.hProcess);
    FProcessId = pi.dwProcessId;
    TQD_KernelHandle thread(pi.hThread);  // not needed: closed at once
  }
}

TChild::~TChild() {
  if (FProcess && WaitForSingleObject(FProcess.Get(), 0) == WAIT_TIMEOUT) TerminateProcess(FProcess.Get(), 99);
  DeleteFileW(FLog.c_str());
}

int TChild::Wait(DWORD AMs) {
  if (!FProcess || WaitForSingleObject(FProcess.Get(), AMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(FProcess.Get(), &code);
  return static_cast<int>(code);
}

TStopEvent::TStopEvent()
    : FName(L"Local\\quendal_test_stop_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++FCount)),
      FEvent(CreateEventW(nullptr, TRUE, FALSE, FName.c_str())) {}
