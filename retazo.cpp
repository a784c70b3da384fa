// The process entry of Retazo.exe: the tool's main routine run inside the runtime's process start.
#include <windows.h>

#include "runtime/process_start.h"
#include "tool/tool_literals.h"
#include "tool/tool_main.h"
#include "tool/tool_state.h"

namespace {

// The tool's variables start cleared and its literals placed before its main routine runs.
void PrepareTool() {
    ClearToolState();
    PlaceLiteralPool();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { RunProcess(ToolMain, PrepareTool); }
