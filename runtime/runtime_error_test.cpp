// Runtime errors: where a recoverable error is recorded.
#include "runtime/runtime_error.h"

#include <gtest/gtest.h>

#include "runtime/thread_block.h"

namespace {

TEST(RaiseRuntimeError, RecordsTheCodeUnderTheIndicatorMark) {
    ClearErrorIndicator();
    EXPECT_EQ(0, ErrorIndicator());
    ThreadBlock* block = GetThreadBlock();
    ASSERT_NE(nullptr, block);
    block->errorStart = 0;

    RaiseRuntimeError(7);
    EXPECT_EQ(0xB007, ErrorIndicator());
    EXPECT_NE(0u, block->errorStart);
    RaiseRuntimeError(5);
    EXPECT_EQ(0xB005, ErrorIndicator());
    RaiseRuntimeError(0);
    EXPECT_EQ(0xB033, ErrorIndicator());
    RaiseRuntimeError(240);
    EXPECT_EQ(0xB0F0, ErrorIndicator());
    ClearErrorIndicator();
}

}  // namespace
