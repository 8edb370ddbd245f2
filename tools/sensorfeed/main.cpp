// sensorfeed's entry point. Everything it does lives in commands_win32.cpp;
// this file only hands over the wide command line (-municode: wmain).
#include "sensorfeed/command_line.h"

extern "C" int wmain(int argc, wchar_t* argv[]) { return SensorfeedMain(argc, argv); }
