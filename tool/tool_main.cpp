// The tool's main routine. Placeholder until the capture and selection land.
#include "tool/tool_main.h"

int ToolMain(HINSTANCE, HINSTANCE, const wchar_t*, int) { return 0; }
