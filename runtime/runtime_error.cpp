// Runtime error recording.
#include "runtime/runtime_error.h"

#include <windows.h>

#include "runtime/thread_block.h"

namespace {
constexpr unsigned char kCodeForZero = 51;
constexpr std::uint16_t kIndicatorMark = 0xB000;
}  // namespace

__attribute__((noinline)) void RaiseRuntimeError(unsigned char code) {
    if (code == 0) code = kCodeForZero;
    if (ThreadBlock* block = GetThreadBlock()) {
        block->errorIndicator = static_cast<std::uint16_t>(kIndicatorMark | code);
        const auto location = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
        block->errorStart = location;
        block->errorEnd = location;
    }
    if (code >= kFirstFatalError) ExitProcess(255);
}

std::uint16_t ErrorIndicator() {
    ThreadBlock* block = GetThreadBlock();
    return block ? block->errorIndicator : 0;
}

void ClearErrorIndicator() {
    if (ThreadBlock* block = GetThreadBlock()) block->errorIndicator = 0;
}
