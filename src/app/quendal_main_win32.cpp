// Quendal's entry point: one instance per session, the Win32 text engine and
// locale for the core, the control panel, and the message loop.
#include <windows.h>

#include <exception>

#include "base/app_exception.h"
#include "collector/locale_win32.h"
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
  // A second instance ends at once and silently.
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
    code = main.Form().TerminateRequested() ? 1 : RunMessageLoop();
    main.Shutdown();
  } catch (...) {
    ShowException(std::current_exception());
    code = 1;
  }
  SetCurrentLocale(nullptr);
  SetCurrentTextEngine(nullptr);
  return code;
}
