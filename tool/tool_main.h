// The tool's main routine, called once by the process start.
#pragma once
#include <windows.h>

int ToolMain(HINSTANCE instance, HINSTANCE previous, const wchar_t* arguments, int showCommand);
