// Prints the system's ANSI code page as the process sees it, so a test can check that the locale
// it starts a program under really gives the code page it means to test.
#include <windows.h>

#include <cstdio>

int main() {
    std::printf("%u\n", GetACP());
    return 0;
}
