// Quendal's entry point: one instance per session, the Win32 text engine and
// locale for the core, the control panel, and the message loop.
#include <windows.h>

#include <exception>
#include <memory>

#include "base/app_exception.h"
#include "base/thread_stack.h"
#include "collector/locale_win32.h"
#include "app/diagnostics_win32.h"
#include "app/main_window_win32.h"
#include "ui/message_loop_win32.h"
#include "render/text_engine.h"
#include "render/text_engine_win32.h"
#include "settings/autostart.h"
#include "base/win32_handles_win32.h"

namespace {

void ShowException(std::exception_ptr AException) {
  std::string text = "Unknown error";
  try {
    std::rethrow_exception(AException);
  } catch (const std::exception& e) {
    text = e.what();
  } catch (...) {
  }
  MessageBoxW(nullptr, Utf8ToWide(text).c_str(), Utf8ToWide(QD_ApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // A second instance ends at once and silently. Two starts at the same
  // moment can both miss each other's window, so a named mutex (Local\: one
  // per session) decides first; it lives as long as this process.
  TQD_KernelHandle instance(CreateMutexW(nullptr, FALSE, L"Local\\Quendal-{6BA1E94A-3E85-4257-B2B7-887912881909}"));
  if (instance && GetLastError() == ERROR_ALREADY_EXISTS) return 0;
  if (FindWindowW(QD_MainFormClass, nullptr)) return 0;

  SetApplicationExceptionHandler(ShowException);
  TQD_GdiTextEngine text;
  SetCurrentTextEngine(&text);
  TQD_LocaleWin32 locale;
  SetCurrentLocale(&locale);
  int code = 0;
  try {
    TQD_ApplicationWindow application;
    TQD_MainWindow main(application.Handle());
    // Too old a system: the user has seen why, and no loop may run ticks.
    if (main.Form().TerminateRequested()) {
      code = 1;
    } else {
      // Off unless asked for: a leak hunter's tool (tools/soak reads it).
      const TQD_DiagnosticsOptions diagnostics = ParseDiagnosticsOptions(GetCommandLineW());
      std::unique_ptr<TQD_DiagnosticsFile> diagnosticsFile;
      if (!diagnostics.Path.empty()) diagnosticsFile = std::make_unique<TQD_DiagnosticsFile>(diagnostics, main.Form());
      // Start-up is over and the loop runs in this frame: what start-up
      // made resident below it can go.
      ReleaseUnusedStack();
      code = RunMessageLoop();
    }
    main.Shutdown();
  } catch (...) {
    ShowException(std::current_exception());
    code = 1;
  }
  SetCurrentLocale(nullptr);
  SetCurrentTextEngine(nullptr);
  return code;
}
