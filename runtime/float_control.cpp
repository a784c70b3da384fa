// Loading the x87 control word.
#include "runtime/float_control.h"

#include <cstdint>

namespace {
constexpr std::uint16_t kControlWord = 0x133F;
}  // namespace

void LoadFloatControl() {
    asm volatile("fldcw %0" : : "m"(kControlWord));
}
