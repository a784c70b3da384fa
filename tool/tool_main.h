// The tool's main routine, called once by the process start.
#pragma once
#include <windows.h>

#include <cstdint>

// The style of the full-screen graphic control.
constexpr std::uint32_t kGraphicControlStyle = WS_CHILD | WS_VISIBLE | SS_OWNERDRAW;

int ToolMain(HINSTANCE instance, HINSTANCE previous, const wchar_t* arguments, int showCommand);
