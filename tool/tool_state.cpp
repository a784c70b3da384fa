// The tool's global state and its reset.
#include "tool/tool_state.h"

namespace {
ToolState state;
}

ToolState& Tool() { return state; }

void ClearToolState() { state = ToolState{}; }
