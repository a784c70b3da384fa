// Runtime errors: where a recoverable error is recorded.
#include "runtime/runtime_error.h"

#include <gtest/gtest.h>

#include "runtime/thread_block.h"

namespace {

TEST(RaiseRuntimeError, RecordsTheCodeUnderTheIndicatorMark) {
    ClearErrorIndicator();
    EXPECT_EQ(ErrorIndicator(), 0);
    ThreadBlock* block = GetThreadBlock();
    ASSERT_NE(block, nullptr);
    block->errorStart = 0;

    RaiseRuntimeError(7);
    EXPECT_EQ(ErrorIndicator(), 0xB007);
    EXPECT_NE(block->errorStart, 0u);
    RaiseRuntimeError(5);
    EXPECT_EQ(ErrorIndicator(), 0xB005);
    RaiseRuntimeError(0);
    EXPECT_EQ(ErrorIndicator(), 0xB033);
    RaiseRuntimeError(240);
    EXPECT_EQ(ErrorIndicator(), 0xB0F0);
    ClearErrorIndicator();
}

}  // namespace
