// Runtime errors raised by services: recorded for the running routine, fatal from 241 up.
#pragma once
#include <cstdint>

constexpr unsigned kErrorNoGraphicTarget = 5;
constexpr unsigned kErrorOutOfMemory = 7;
constexpr unsigned kFirstFatalError = 241;

// Records error `code` (0 is recorded as 51) with the caller's location; codes of 241 and
// above end the process with exit code 255.
void RaiseRuntimeError(unsigned char code);
// The running thread's error indicator: 0xB000 | code after a raise, 0 before any.
std::uint16_t ErrorIndicator();
void ClearErrorIndicator();
