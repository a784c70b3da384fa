// The process entry of Retazo.exe.
#include <windows.h>

#include "runtime/process_start.h"
#include "tool/tool_main.h"
#include "tool/tool_state.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { RunProcess(ToolMain, ClearToolState); }
