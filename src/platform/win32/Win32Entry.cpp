// The updater's entry point on Windows. The command line is not read.
// Our framework header goes first: windows.h would turn its IDOK into a macro.
#include "platform/Application.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return framework::RunApplication(); }
