// The per-thread runtime block: current graphic target, dialog font, code page and last error.
#pragma once
#include <windows.h>
#include <wtypes.h>

#include <cstdint>

// Allocated with GlobalAlloc(GPTR, 128), so every field starts at zero.
struct ThreadBlock {
    HANDLE findHandle;
    HANDLE fileHandle;
    std::uintptr_t errorStart;   // location of the statement that raised the last runtime error
    std::uintptr_t errorEnd;
    std::uintptr_t currentGraphicTarget;  // handle of the current graphic target; 0 = none
    BSTR texts[6];               // text fields of facilities the tool does not use
    std::int32_t dialogFont;     // font number used by new dialogs
    std::int32_t defaultFonts[3];
    UINT codePage;               // code page of text conversions
    std::uint16_t errorIndicator;  // the running routine's error indicator: 0xB0 << 8 | code
};

constexpr SIZE_T kThreadBlockSize = 128;
// Every text value of the program (pool literals, formatted numbers) is Windows-1252, so it is
// converted with that code page, not with the system's ANSI code page, which may be any other.
constexpr UINT kTextCodePage = 1252;
static_assert(sizeof(ThreadBlock) <= kThreadBlockSize);

// Takes the TLS slot and makes the main thread's block. False when either fails.
bool CreateMainThreadBlock();
// The calling thread's block, created with the main thread's defaults if it has none yet.
// Null only when memory is exhausted.
ThreadBlock* GetThreadBlock();
// The block recorded in the calling thread's information block, for code without the TLS index;
// null while the thread has none.
ThreadBlock* InformationBlockThreadBlock();
// Ends the calling thread's runtime state: closes its handles, frees its texts and its block.
void ReleaseThreadBlock();
// Gives the TLS slot back; after the last block is released.
void ReleaseThreadRuntime();
