// The desktop size against the size of the test session's screen.
#include "runtime/desktop_size.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

namespace {

// The test session's X screen, "WxH".
TEST(GetDesktopSize, IsTheSizeOfTheScreen) {
    char screen[32] = "1024x768";
    GetEnvironmentVariableA("RETAZO_SCREEN", screen, sizeof screen);
    int width = 0;
    int height = 0;
    ASSERT_EQ(std::sscanf(screen, "%dx%d", &width, &height), 2) << screen;
    const DesktopSize size = GetDesktopSize();
    EXPECT_EQ(size.width, width);
    EXPECT_EQ(size.height, height);
}

}  // namespace
